#include "RenderFixture.h"
#include "markup/LineBreaks.h"
#include "markup/MarkupEntities.h"

#include <string>

namespace velmora {
namespace {

// The mark that makes a markup text UTF-8.
const std::string kMark = "\xEF\xBB\xBF";

// Markup is UTF-8 where it starts with kMark.
class Utf8Markup : public RenderFixture {};

// Every character is 8 pixels wide, whatever its bytes.
TEST_F(Utf8Markup, LinesWrapAsTheirReadersExpect) {
    const LayoutCase cases[] = {
        // Cyrillic wraps at its spaces; without the mark the same bytes are two characters each.
        {kMark + "Мир труд май", 81, 64, 32, "Мир @1,0 труд @33,0 май@1,16"},
        {"Мир", 200, 48, 16, "Мир@1,0"},
        // Japanese wraps between characters, each its own run.
        {kMark + "日本語のテキスト", 41, 32, 32,
         "日@1,0 本@9,0 語@17,0 の@25,0 テ@1,16 キ@9,16 ス@17,16 ト@25,16"},
        // A full stop never starts a line: it goes down with the character before it.
        {kMark + "日本語。日本", 25, 16, 48, "日@1,0 本@9,0 語。@1,16 日@1,32 本@9,32"},
        // An opening bracket stays with what follows it.
        {kMark + "日本「語」", 25, 24, 32, "日@1,0 本@9,0 「語」@1,16"},
        // Latin words keep whole beside Japanese, which breaks next to them.
        {kMark + "Velmora を使う", 81, 72, 32, "Velmora @1,0 を@65,0 使@1,16 う@9,16"},
        {kMark + "Velmoraを", 65, 56, 32, "Velmora@1,0 を@1,16"},
        // Korean wraps at its spaces, a word whole.
        {kMark + "기부하시려면 제 웹사이트를", 81, 64, 32, "기부하시려면 @1,0 제 @57,0 웹사이트를@1,16"},
        // Chinese, with its comma kept on the line before.
        {kMark + "如想捐赠，请访问", 33, 24, 48, "如@1,0 想@9,0 捐@17,0 赠，@1,16 请@17,16 访@1,32 问@9,32"},
    };
    for (const LayoutCase& c : cases) {
        Check(c);
    }
}

TEST_F(Utf8Markup, EntitiesAndReferencesGiveUtf8) {
    const LayoutCase cases[] = {
        {kMark + "&copy; &euro;5 &#1071;&#x42f;", 200, 56, 16, "© @1,0 €5 @17,0 ЯЯ@41,0"},
        {kMark + "&trade;&permil;&sect;&para;&reg;", 200, 40, 16, "™‰§¶®@1,0"},
        {kMark + "a&#60;b&#62;", 200, 32, 16, "a<b>@1,0"}, // a reference opens no tag
        // A reference to no character stays as written, its "&" then underlining what follows, as any lone
        // "&" does.
        {kMark + "&#0;&#xD800;&#x110000;", 200, 152, 16, "#0;#xD800;#x110000;@1,0"},
        {"&#1071;", 200, 48, 16, "#1071;@1,0"}, // Windows-1252 has no references
        {kMark + "a\xFF"
                 "b",
         200, 24, 16,
         "a\xFF"
         "b@1,0"}, // a stray byte is one character
    };
    for (const LayoutCase& c : cases) {
        Check(c);
    }
}

TEST_F(Utf8Markup, EllipsisCutsWholeCharacters) {
    Check({kMark + "日本語のテキスト", 41, 40, 16, "日本...@1,0"}, false);
    Check({kMark + "Привет мир", 41, 40, 16, "Пр...@1,0"}, false);
}

TEST_F(Utf8Markup, ListBulletsStaySymbolCodes) {
    Draw(kMark + "<UL><LI>Я");
    EXPECT_EQ(Placement(), "\xB7@1,16 Я@13,16");
    EXPECT_EQ(TextRecord("\xB7").Font.Encoding, TextEncoding::Windows1252);
    EXPECT_EQ(TextRecord("Я").Font.Encoding, TextEncoding::Utf8);
    // The canvas gets its font back as it was.
    EXPECT_EQ(canvas.Font().Encoding, TextEncoding::Windows1252);
}

TEST_F(Utf8Markup, HitsFallOnWholeCharacters) {
    // 日 1-9, 本 9-17, the space 17-25, 語 25-33; on a line 24 wide, 語 wraps to 1-9 of the second line.
    const std::string m = kMark + "<A href=\"1\">日本</A> <A href=\"2\">語</A>";
    struct Case {
        int right;
        int x;
        int y;
        int number;
        Rect rect;
    };
    const Case cases[] = {
        {200, 28, 8, 2, {25, 0, 33, 16}},
        {200, 10, 8, 1, {1, 0, 17, 16}},
        {200, 20, 8, -1, {-1, -1, -1, -1}},
        {25, 4, 20, 2, {1, 16, 9, 32}},
    };
    for (const Case& c : cases) {
        MarkupCall params = Params(m, {0, 0, c.right, 100});
        params.Request.NoDraw = true;
        params.Request.HitX = c.x;
        params.Request.HitY = c.y;
        params.Run();
        EXPECT_EQ(params.Result.HitAnchorNumber, c.number) << c.x << "," << c.y;
        EXPECT_EQ(params.Result.HitAnchorRect, c.rect) << c.x << "," << c.y;
    }
}

TEST(LineBreaks, WhereALineMayBreak) {
    struct Case {
        char32_t before;
        char32_t after;
        bool utf8;
        bool expected;
    };
    const Case cases[] = {
        {U' ', U'a', false, true},
        {U'a', U'b', true, false},
        {U'\u65E5', U'\u672C', true, true},
        {U'\u65E5', U'\u672C', false, false}, // Windows-1252 breaks at spaces only
        {U'a', U'\u65E5', true, true},
        {U'\u65E5', U'a', true, true},
        {U'\u65E5', U'\u3002', true, false},
        {U'\u300C', U'\u65E5', true, false},
        {U'\u65E5', U'\u30C3', true, false}, // small tsu
        {U'\u65E5', U'\u30FC', true, false}, // prolonged sound mark
        {U'\uAE30', U'\uBD80', true, false}, // Hangul keeps its words
        {U'\u0416', U'\u0416', true, false},
        {U'\u65E5', U' ', true, false},
    };
    for (const Case& c : cases) {
        const TextEncoding encoding = c.utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
        EXPECT_EQ(MayBreakBetween(c.before, c.after, encoding), c.expected)
            << std::hex << static_cast<std::uint32_t>(c.before) << " " << static_cast<std::uint32_t>(c.after);
    }
    EXPECT_EQ(RunStop("日本<b>", true, TextEncoding::Utf8), 3u);
    EXPECT_EQ(RunStop("日本<b>", false, TextEncoding::Utf8), 6u);
    EXPECT_EQ(RunStop("日本<b>", true, TextEncoding::Windows1252), 6u);
}

} // namespace
} // namespace velmora
