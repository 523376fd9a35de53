#include "graphics/TextLayout.h"

#include "text/Utf8Sequences.h"

#include <algorithm>

namespace velmora {

namespace {

struct PrefixedText {
    std::string Shown;
    std::vector<std::size_t> Marked; // indices into Shown
};

// "&&" shows one "&"; "&x" shows x underlined; a lone "&" at the end shows nothing.
PrefixedText ProcessPrefixes(std::string_view text) {
    PrefixedText result;
    result.Shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            result.Shown += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '&') {
            result.Shown += '&';
            ++i;
        } else if (i + 1 < text.size()) {
            result.Marked.push_back(result.Shown.size());
        }
    }
    return result;
}

struct PlacedText {
    std::vector<TextPiece> Pieces;
    std::vector<std::size_t> Starts; // index in the shown text where each piece begins
    std::int32_t Width = 0;
};

PlacedText PlacePieces(std::string_view shown, bool expandTabs, std::int32_t tabWidth,
                       const MeasureWidth& measure) {
    PlacedText placed;
    if (!expandTabs) {
        placed.Pieces.push_back({std::string(shown), 0});
        placed.Starts.push_back(0);
        placed.Width = measure(shown);
        return placed;
    }
    std::int32_t x = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = shown.find('\t', start);
        const std::string_view piece = shown.substr(start, tab == std::string_view::npos ? tab : tab - start);
        placed.Pieces.push_back({std::string(piece), x});
        placed.Starts.push_back(start);
        x += measure(piece);
        if (tab == std::string_view::npos) {
            break;
        }
        x = (x / tabWidth + 1) * tabWidth;
        start = tab + 1;
    }
    placed.Width = x;
    return placed;
}

// The spans of the marked characters, measured piece by piece from one mark to the next: widths add up
// (glyphs are placed without kerning), so a line with many marks costs no more than measuring it once.
std::size_t CharacterLength(std::string_view text, TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? FirstUtf8Character(text).Length : 1;
}

// Where the text may be cut: after each whole character.
std::vector<std::size_t> CharacterEnds(std::string_view text, TextEncoding encoding) {
    std::vector<std::size_t> ends{0};
    for (std::size_t at = 0; at < text.size(); ends.push_back(at)) {
        at += CharacterLength(text.substr(at), encoding);
    }
    return ends;
}

std::vector<PrefixMark> MarksFor(const PlacedText& placed, std::string_view shown,
                                 const std::vector<std::size_t>& marked, TextEncoding encoding,
                                 const MeasureWidth& measure) {
    std::vector<PrefixMark> marks;
    marks.reserve(marked.size());
    std::size_t piece = 0;
    std::size_t measuredTo = 0; // index in the shown text up to which `left` is known
    std::int32_t left = 0;
    for (const std::size_t index : marked) {
        if (shown[index] == '\t') {
            continue;
        }
        while (piece + 1 < placed.Starts.size() && placed.Starts[piece + 1] <= index) {
            ++piece;
        }
        const std::size_t start = placed.Starts[piece];
        if (measuredTo < start) {
            measuredTo = start;
            left = placed.Pieces[piece].X;
        }
        left += measure(shown.substr(measuredTo, index - measuredTo));
        measuredTo = index;
        marks.push_back(
            {left, left + measure(shown.substr(index, CharacterLength(shown.substr(index), encoding)))});
    }
    return marks;
}

} // namespace

TextLine LayOutTextLine(std::string_view text, const Rect& rect, TextFormat format,
                        const FontMetrics& metrics, TextEncoding encoding, const MeasureWidth& measure) {
    PrefixedText prefixed;
    if ((format & DT_NOPREFIX) != 0) {
        prefixed.Shown = std::string(text);
    } else {
        prefixed = ProcessPrefixes(text);
    }

    const bool expandTabs = (format & DT_EXPANDTABS) != 0;
    const std::int32_t tabWidth = std::max(1, 8 * metrics.AverageCharWidth);
    PlacedText placed = PlacePieces(prefixed.Shown, expandTabs, tabWidth, measure);

    if ((format & DT_END_ELLIPSIS) != 0 && placed.Width > rect.Width()) {
        const auto fits = [&](std::size_t kept) {
            const std::string candidate = prefixed.Shown.substr(0, kept) + std::string(kEllipsis);
            return PlacePieces(candidate, expandTabs, tabWidth, measure).Width <= rect.Width();
        };
        // Widths grow with the text, so the longest prefix that still fits is found by halving, over
        // whole characters.
        std::vector<std::size_t> ends;
        if (encoding == TextEncoding::Utf8) {
            ends = CharacterEnds(prefixed.Shown, encoding);
        }
        const auto cut = [&ends](std::size_t characters) {
            return ends.empty() ? characters : ends[characters];
        };
        std::size_t low = 0;
        std::size_t high = ends.empty() ? prefixed.Shown.size() : ends.size() - 1;
        while (low + 1 < high) {
            const std::size_t middle = low + (high - low) / 2;
            (fits(cut(middle)) ? low : high) = middle;
        }
        low = cut(low);
        prefixed.Shown = prefixed.Shown.substr(0, low) + std::string(kEllipsis);
        std::erase_if(prefixed.Marked, [low](std::size_t index) { return index >= low; });
        placed = PlacePieces(prefixed.Shown, expandTabs, tabWidth, measure);
    }

    TextLine line;
    const TextPlacement place = PlaceTextLine(rect, format, metrics, placed.Width);
    line.Cell = place.Cell;
    line.Baseline = place.Baseline;
    line.Result = place.Result;

    // Measuring needs no underlines.
    if ((format & DT_CALCRECT) == 0) {
        line.Marks = MarksFor(placed, prefixed.Shown, prefixed.Marked, encoding, measure);
    }
    line.Pieces = std::move(placed.Pieces);
    line.Shown = std::move(prefixed.Shown);
    return line;
}

TextPlacement PlaceTextLine(const Rect& rect, TextFormat format, const FontMetrics& metrics,
                            std::int32_t width) {
    const std::int32_t leading = (format & DT_EXTERNALLEADING) != 0 ? metrics.ExternalLeading : 0;
    const std::int32_t height = metrics.Height + leading;
    const bool singleLine = (format & DT_SINGLELINE) != 0;

    std::int32_t left = rect.Left;
    std::int32_t top = rect.Top;
    if ((format & DT_CALCRECT) == 0) {
        if ((format & DT_RIGHT) != 0) {
            left = rect.Right - width;
        } else if ((format & DT_CENTER) != 0) {
            left = rect.Left + (rect.Width() - width) / 2;
        }
        if (singleLine && (format & DT_BOTTOM) != 0) {
            top = rect.Bottom - height;
        } else if (singleLine && (format & DT_VCENTER) != 0) {
            top = rect.Top + (rect.Height() - height) / 2;
        }
    }
    TextPlacement place;
    place.Cell = {left, top, left + width, top + height};
    place.Baseline = top + leading + metrics.Ascent;
    const bool offsetResult =
        (format & DT_CALCRECT) == 0 && singleLine && (format & (DT_BOTTOM | DT_VCENTER)) != 0;
    place.Result = offsetResult ? place.Cell.Bottom - rect.Top : height;
    return place;
}

bool ShowsAsWritten(std::string_view text, TextFormat format) {
    const bool plainPrefix = (format & DT_NOPREFIX) != 0 || text.find('&') == std::string_view::npos;
    const bool plainTabs = (format & DT_EXPANDTABS) == 0 || text.find('\t') == std::string_view::npos;
    return plainPrefix && plainTabs;
}

namespace {

// The width of the text as "&" processing shows it, measured where the pieces between the "&" stand
// instead of building the shown text: widths add up, glyphs being placed without kerning.
std::int32_t PrefixedWidth(std::string_view text, const MeasureWidth& measure) {
    std::int32_t width = 0;
    std::size_t start = 0;
    for (std::size_t i = text.find('&'); i != std::string_view::npos; i = text.find('&', start)) {
        width += measure(text.substr(start, i - start));
        if (i + 1 < text.size() && text[i + 1] == '&') {
            width += measure(text.substr(i, 1)); // "&&" shows one "&"
            start = i + 2;
        } else {
            start = i + 1; // a single "&" shows nothing of its own
        }
    }
    return width + measure(text.substr(start));
}

} // namespace

Rect MeasureTextLine(std::string_view text, const Rect& rect, TextFormat format, const FontMetrics& metrics,
                     TextEncoding encoding, const MeasureWidth& measure) {
    if ((format & DT_EXPANDTABS) == 0 || text.find('\t') == std::string_view::npos) {
        const std::int32_t width = (format & DT_NOPREFIX) != 0 ? measure(text) : PrefixedWidth(text, measure);
        if ((format & DT_END_ELLIPSIS) == 0 || width <= rect.Width()) {
            const std::int32_t leading = (format & DT_EXTERNALLEADING) != 0 ? metrics.ExternalLeading : 0;
            return {rect.Left, rect.Top, rect.Left + width, rect.Top + metrics.Height + leading};
        }
    }
    return LayOutTextLine(text, rect, format | DT_CALCRECT, metrics, encoding, measure).Cell;
}

} // namespace velmora
