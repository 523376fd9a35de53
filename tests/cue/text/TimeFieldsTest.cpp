#include "cue/text/TimeFields.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(TimeFields, TimeFieldsAreDigitsOnly) {
    const std::pair<std::string, std::optional<std::int32_t>> cases[] = {
        {"0", 0},
        {"007", 7},
        {"2147483647", INT32_MAX},
        {"2147483648", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"-5", std::nullopt},
        {"+5", std::nullopt},
        {"$1F", std::nullopt},
        {"0x1F", std::nullopt},
        {"x10", std::nullopt},
        {"12a", std::nullopt},
        {" 1", std::nullopt},
        {"1.0", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseTimeField(text), expected) << '"' << text << '"';
    }
}

TEST(TimeFields, FormatPadsToTwoDigits) {
    const std::pair<std::int64_t, std::string> cases[] = {
        {0, "00"},
        {5, "05"},
        {59, "59"},
        {100, "100"},
        {-5, "-05"},
        {-123, "-123"},
        {2147483648LL, "2147483648"},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(FormatTimeField(value), expected) << value;
    }
}

} // namespace
} // namespace velmora
