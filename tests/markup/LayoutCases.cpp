#include "LayoutCases.h"

#include "markup/RenderMarkup.h"

#include <string>

namespace velmora::testkit {

namespace {

struct LayoutCase {
    const char* name;
    std::string markup;
    Rect bounds;
    Point hit; // well inside an anchor's text, or on no anchor, so that a pixel either way changes nothing
    bool wordWrap = true;
    MarkupFlavor flavor = MarkupFlavor::Label;
};

const LayoutCase kCases[] = {
    {"plain", "Velmora repairs cue sheets", {0, 0, 400, 100}, {10, 10}},
    {"styles", "<B>bold</B> and <I>italic</I>, <U>under</U> <S>struck</S>", {0, 0, 400, 100}, {10, 10}},
    {"sizes", "<FONT size=\"18\">big</FONT> middle <FONT size=\"8\">small</FONT>", {0, 0, 400, 100}, {5, 5}},
    {"line-breaks", "first<BR>second<BR><BR>fourth", {0, 0, 400, 200}, {10, 10}},
    {"wrapped",
     "This software cost many hours of freetime, so if you enjoy using Velmora and you would like to show "
     "your appreciation for my work, please support me by making a donation.",
     {0, 0, 200, 300},
     {10, 10}},
    {"first-anchor",
     "See <A href=\"one\">the first link</A> and <A href=\"two\">the second one</A>.",
     {0, 0, 400, 100},
     {60, 10}},
    {"second-anchor",
     "See <A href=\"one\">the first link</A> and <A href=\"two\">the second one</A>.",
     {0, 0, 400, 100},
     {200, 10}},
    {"no-anchor-hit",
     "See <A href=\"one\">the first link</A> and more words after it",
     {0, 0, 400, 100},
     {300, 10}},
    {"wrapped-anchor",
     "Graphics by <B><A href=\"mailto:brisel@example.org\">Brisel and friends of the project</A></B> (Thanks "
     "!!)",
     {0, 0, 160, 200},
     {20, 25}},
    {"entities",
     "Fish &amp; chips &lt;3 caf&eacute; &euro;5 &copy; 2026&nbsp;&nbsp;",
     {0, 0, 400, 100},
     {5, 5}},
    {"sub-and-superscript", "H<SUB>2</SUB>O and E=mc<SUP>2</SUP>", {0, 0, 400, 100}, {5, 5}},
    {"paragraphs",
     "<P align=\"center\">centred</P><P indent=\"20\">indented text here</P>",
     {0, 0, 300, 100},
     {5, 5}},
    {"tabs", "Name\tValue\tMore<BR>a\tb", {0, 0, 400, 100}, {5, 5}},
    {"large-bold", "<FONT size=\"36\"><B>Velmora</B> 1.0</FONT> small", {0, 0, 500, 100}, {5, 5}},
    {"indent-to", "key<IN x=\"120\">value<BR>longer key<IN x=\"120\">v", {0, 0, 400, 100}, {5, 5}},
    {"ellipsis", "abcdefghijklmnopqrstuvwxyz abcdefghijklmnopqrstuvwxyz", {0, 0, 120, 30}, {5, 5}, false},
    {"static-text",
     "<B>Velmora Version 1.0</B> is freeware.<br>You may use it and share it free of charge.",
     {0, 0, 313, 105},
     {5, 5},
     true,
     MarkupFlavor::StaticText},
};

} // namespace

void DumpLayouts(Canvas& canvas, const char* fontFamily, std::ostream& out) {
    canvas.SetFont({fontFamily, 12, clBlack});
    canvas.SetBrushColor(clWhite);
    for (const LayoutCase& c : kCases) {
        MarkupSources sources;
        MarkupRequest request;
        request.Markup = c.markup;
        request.Bounds = c.bounds;
        request.HitX = c.hit.X;
        request.HitY = c.hit.Y;
        request.NoDraw = true;
        request.WordWrap = c.wordWrap;
        request.Flavor = c.flavor;
        MarkupResult result;
        const bool hit = RenderMarkup(canvas, sources, request, result);
        const Rect& r = result.HitAnchorRect;
        out << c.name << " textWidth=" << result.TextWidth << " textHeight=" << result.TextHeight
            << " anchorCount=" << result.AnchorCount << " hit=" << (hit ? 1 : 0)
            << " hitAnchorNumber=" << result.HitAnchorNumber << " hitLeft=" << r.Left << " hitTop=" << r.Top
            << " hitRight=" << r.Right << " hitBottom=" << r.Bottom << '\n';
    }
}

} // namespace velmora::testkit
