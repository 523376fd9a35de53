#pragma once

#include "markup/KeptLayout.h"
#include "markup/MarkupLine.h"
#include "markup/MarkupTags.h"
#include "pictures/HTMLPicture.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace velmora {

// One pass of RenderMarkupLine: the runs (LineLayout.cpp), the tags (LineLayoutTags.cpp) and the
// pictures and backgrounds (LineLayoutPictures.cpp) of a line.
class LineLayout {
public:
    LineLayout(MarkupCallState& state, RunningFont& font, const Rect& lineRect, LinePass pass,
               LineValues& line)
        : s_(state), in_(state.Request), host_(state.Sources), out_(state.Result), rules_(state.Rules),
          canvas_(state.Target), font_(font), line_(line), lineRect_(lineRect),
          decidesLayout_(pass == LinePass::Measure),
          paintNothing_(pass == LinePass::Measure || state.Request.NoDraw) {}

    LineResult Run(std::string_view& text);

private:
    void TakeRun(std::string_view& text);
    void MeasureRun(std::string_view run, std::int32_t& width);
    std::int32_t WidthWithoutEllipsis(std::string_view run);
    void DrawRun(std::string_view run);
    void DrawErrorUnderline(std::int32_t left, std::int32_t right);
    void HandleTag(std::string_view text);
    // Each returns whether the tag was of its kind, and handles it when it was.
    bool StyleTag(TagKind kind);
    bool ColorTag(TagKind kind, std::string_view tag);
    bool LineTag(TagKind kind, std::string_view tag);
    bool FlowTag(TagKind kind, std::string_view tag);
    void OpenAnchor(std::string_view tag);
    void CloseAnchor();
    void Font(std::string_view tag);
    void Paragraph(std::string_view tag);
    void IndentTo(std::string_view tag);
    void ListItem();
    void Rule();
    void CloseFocusRectOnLine();
    // A hit-testing second pass leaves what decides its hits for the next hit tests to read.
    bool KeepsHits() const { return s_.KeptHits != nullptr && !decidesLayout_ && paintNothing_; }
    void KeepHit(KeptLayout::HitEvent event);

    // Pictures and backgrounds (LineLayoutPictures.cpp).
    void Image(std::string_view tag);
    Size ImageListPicture(std::int32_t index, std::int32_t x, std::int32_t top);
    void DrawPicture(THTMLPicture& picture, bool stretched, const Rect& given);
    void PlaceImage(const Size& size, const std::string& attributes);
    THTMLPicture* FindPicture(std::string_view source);
    void Body(std::string_view tag);
    void TileBackground(std::string_view name);
    void FillInPenColor(const Rect& area, TColor color);
    void ParagraphBackground(const std::string& attributes);
    void FillParagraphBand();
    std::int32_t DeviceWidth(std::int32_t width) const;
    std::int32_t DeviceHeight(std::int32_t height) const;

    bool HitInTextBand() const {
        const std::int32_t bottom = lineRect_.Bottom + line_.SubscriptOffset - line_.TextOffset;
        return bottom - canvas_.TextHeight("gh") < in_.HitY && in_.HitY < bottom;
    }
    bool Styled() const { return !in_.HoverEnabled || s_.Flow.AnchorCount == in_.HoverAnchor; }
    bool ColorsApply() const { return !paintNothing_ && !in_.SuppressColors; }
    // The measuring pass wraps an indented line at its indented width, so that nothing is laid out past
    // the right edge; the second pass gets a line rectangle that already starts at the indent.
    std::int32_t LineWidth() const {
        const std::int64_t indent = decidesLayout_ ? std::max(s_.Indent, 0) : 0;
        const std::int64_t width = std::int64_t{lineRect_.Right} - lineRect_.Left - indent;
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(width, INT32_MIN, INT32_MAX));
    }
    // Only the measuring pass says what the line took: the second pass is handed exactly that.
    void KeepConsumed(std::string_view written) {
        if (decidesLayout_) {
            result_.Consumed.append(written);
        }
    }
    void EditFont(auto&& change) {
        FontState f = canvas_.Font();
        change(f);
        canvas_.SetFont(f);
    }
    void SetTextColor(TColor color) {
        EditFont([color](FontState& f) { f.Color = color; });
    }

    MarkupCallState& s_;
    const MarkupRequest& in_;
    const MarkupSources& host_;
    MarkupResult& out_;
    const MarkupRules& rules_;
    Canvas& canvas_;
    RunningFont& font_;
    LineValues& line_;
    Rect lineRect_;
    const bool decidesLayout_;
    const bool paintNothing_;

    LineResult result_;
    Rect textRect_;
    std::int32_t trailingSpace_ = 0;
    bool lineTextEmpty_ = true;
    char32_t lineTextLast_ = 0; // the last character of the line's text, which decides where it may break
    bool endOfLine_ = false;
    bool lineFull_ = false;
    bool listItemSeen_ = false;
    bool anchorOpenedOnLine_ = false;
};

} // namespace velmora
