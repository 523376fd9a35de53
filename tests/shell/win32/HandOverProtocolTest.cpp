#include "shell/win32/HandOverProtocol.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace velmora {
namespace {

std::optional<HandOverRequest> Read(ULONG_PTR kind, std::wstring payload, DWORD extraBytes = 0) {
    COPYDATASTRUCT data{kind, static_cast<DWORD>(payload.size() * sizeof(wchar_t)) + extraBytes,
                        payload.data()};
    return ReadHandOver(data);
}

TEST(HandOverProtocolTest, APayloadReadsBackAsWritten) {
    const HandOverRequest withPath{L"Local\\VelmoraRun-12-3", L"C:\\Musique\\Björk — 東京.cue"};
    const auto read = Read(kHandOverData, HandOverPayload(withPath));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->EventName, withPath.EventName);
    EXPECT_EQ(read->Path, withPath.Path);

    const auto withoutPath = Read(kHandOverData, HandOverPayload({L"Local\\VelmoraRun-1", std::nullopt}));
    ASSERT_TRUE(withoutPath);
    EXPECT_EQ(withoutPath->Path, std::nullopt);
}

TEST(HandOverProtocolTest, ForeignOrMalformedDataIsRefused) {
    using namespace std::string_literals;
    const struct {
        const char* what;
        ULONG_PTR kind;
        std::wstring payload;
        DWORD extraBytes;
    } cases[] = {
        {"another kind", 7, L"Local\\VelmoraRun-1\0a.cue"s, 0},
        {"an odd byte count", kHandOverData, L"Local\\VelmoraRun-1\0a.cue"s, 1},
        {"another program's event", kHandOverData, L"Global\\SomeoneElse\0a.cue"s, 0},
        {"an empty path", kHandOverData, L"Local\\VelmoraRun-1\0"s, 0},
        {"a NUL inside the path", kHandOverData, L"Local\\VelmoraRun-1\0a.cue\0b.cue"s, 0},
        {"a path past the longest", kHandOverData,
         L"Local\\VelmoraRun-1\0"s + std::wstring(kLongestPath + 1, L'a'), 0},
        {"nothing", kHandOverData, L""s, 0},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(Read(testCase.kind, testCase.payload, testCase.extraBytes), std::nullopt) << testCase.what;
    }
}

} // namespace
} // namespace velmora
