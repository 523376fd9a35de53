#include "graphics/Windows1252.h"

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

} // namespace
} // namespace velmora
