#include "text/Windows1252.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(Windows1252Test, HighControlRangeDiffersFromLatin1) {
    struct Case {
        unsigned char code;
        char16_t expected;
    };
    const Case cases[] = {
        {0x41, u'A'},      {0x80, u'\u20AC'}, {0x85, u'\u2026'}, {0x89, u'\u2030'}, {0x8A, u'\u0160'},
        {0x8C, u'\u0152'}, {0x91, u'\u2018'}, {0x93, u'\u201C'}, {0x95, u'\u2022'}, {0x96, u'\u2013'},
        {0x99, u'\u2122'}, {0x9F, u'\u0178'}, {0x81, u'\u0081'}, {0x8D, u'\u008D'}, {0x9D, u'\u009D'},
        {0xA7, u'\u00A7'}, {0xA9, u'\u00A9'}, {0xE9, u'\u00E9'}, {0xFF, u'\u00FF'}, {0x00, u'\0'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(static_cast<int>(Windows1252ToUnicode(c.code)), static_cast<int>(c.expected))
            << std::hex << static_cast<int>(c.code);
    }
}

TEST(Windows1252Test, DecodesWholeTextsAndSymbolBullets) {
    struct Case {
        std::string text;
        bool symbol;
        std::u16string expected;
    };
    const Case cases[] = {
        {"\x80 5", false, u"\u20AC 5"},
        {"caf\xE9", false, u"caf\u00E9"},
        {"\xB7", false, u"\u00B7"}, // a middle dot in ordinary fonts
        {"\xB7", true, u"\u2022"},  // the bullet in the Symbol font
        {"o\xB7\x99", true, u"o\u2022\u2122"},
        {"", true, u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.symbol ? DecodeSymbolFont(c.text) : DecodeWindows1252(c.text), c.expected) << c.text;
    }
}

TEST(Windows1252Test, EncodesWhatTheCodePageHasAndQuestionMarksTheRest) {
    struct Case {
        std::u16string text;
        std::string expected;
    };
    const Case cases[] = {
        {u"plain", "plain"},
        {u"\u20AC\u2122\u0178", "\x80\x99\x9F"},
        {u"caf\u00E9 \u00A9", "caf\xE9 \xA9"},
        {u"\u0081\u009D", "\x81\x9D"}, // the undefined codes come back as they went
        {u"\u0085\u0092", "??"},       // Latin-1 controls that 1252 uses for other characters
        {u"\u4E2D\u0100", "??"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeWindows1252(c.text), c.expected);
    }
    for (int code = 0; code < 256; ++code) {
        const std::string byte(1, static_cast<char>(code));
        EXPECT_EQ(EncodeWindows1252(DecodeWindows1252(byte)), byte) << code;
    }
}

} // namespace
} // namespace velmora
