#include "graphics/ImageList.h"
#include "markup/LineLayout.h"
#include "markup/MarkupColors.h"
#include "markup/MarkupTags.h"
#include "markup/MarkupText.h"
#include "markup/PictureDrawing.h"
#include "markup/ShellIcon.h"
#include "pictures/PictureCache.h"
#include "pictures/PictureContainer.h"
#include "pictures/PictureErrors.h"

#include <algorithm>

namespace velmora {
namespace {

constexpr std::int32_t kLogicalPixelsPerInch = 96;
constexpr std::int32_t kGradientBands = 64;

bool Holds(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

} // namespace

std::int32_t LineLayout::DeviceWidth(std::int32_t width) const {
    return MulDiv(width, canvas_.PixelsPerInchX(), kLogicalPixelsPerInch);
}

std::int32_t LineLayout::DeviceHeight(std::int32_t height) const {
    return MulDiv(height, canvas_.PixelsPerInchY(), kLogicalPixelsPerInch);
}

THTMLPicture* LineLayout::FindPicture(std::string_view source) {
    // No source names no picture, not even a container item that was never given a name.
    if (source.empty()) {
        return nullptr;
    }
    THTMLPicture* picture = nullptr;
    if (!Holds(source, ":") && host_.PictureContainer != nullptr) {
        picture = host_.PictureContainer->PictureByName(source);
    }
    if (Holds(source, "://") && host_.PictureCache != nullptr) {
        picture = host_.PictureCache->PictureByAddress(source);
        if (picture == nullptr) {
            picture = &host_.PictureCache->NewPicture();
            picture->SetAsynchronous(false);
            // Markup reports nothing: a resource or file that does not decode stays an empty picture
            // in the cache, so it is neither shown nor tried again.
            try {
                picture->LoadFromAddress(std::string(source));
            } catch (const Error&) {
            }
        }
    }
    return picture;
}

void LineLayout::Image(std::string_view tag) {
    const std::string_view written = WrittenAttributeText(tag, 2);
    const std::string attributes = UpperCaseAnsi(written);
    std::string source(WrittenAttributeValue(written, attributes, "SRC").value_or(""));
    ++s_.Flow.ImageCounter;
    s_.LayoutFollowsHitPoint = s_.LayoutFollowsHitPoint || Holds(attributes, "ALT");
    if (Holds(attributes, "ALT") && s_.Flow.ImageCounter == s_.HitImage) {
        source = std::string(WrittenAttributeValue(written, attributes, "ALT").value_or(""));
    }
    // Held within the coordinate limit, so that no line or rectangle arithmetic can overflow.
    const std::int32_t givenWidth =
        std::min(IntFromText(AttributeValue(attributes, "WIDTH").value_or("")), kMarkupCoordinateLimit);
    const std::int32_t givenHeight =
        std::min(IntFromText(AttributeValue(attributes, "HEIGHT").value_or("")), kMarkupCoordinateLimit);
    const bool stretched = givenWidth >= 1 && givenHeight >= 1;

    const std::int32_t x = textRect_.Left;
    const std::int32_t top = lineRect_.Top;
    const bool draw = !paintNothing_;
    Size size;
    if (PosIgnoreCase("IDX:", source) != 0) {
        source.erase(0, 4);
        size = ImageListPicture(IntFromText(source), x, top);
    }
    const bool smallIcon = PosIgnoreCase("SSYS:", source) != 0;
    if (smallIcon || PosIgnoreCase("LSYS:", source) != 0) {
        source.erase(0, 5);
        const Size icon = DrawShellIcon(canvas_, x, top, in_.ImageScale, in_.Printing, draw, !smallIcon,
                                        source, host_.ShellIcons);
        size = {DeviceWidth(icon.Width), DeviceHeight(icon.Height)};
    }
    if (THTMLPicture* picture = FindPicture(source); picture != nullptr && !picture->QueryEmpty()) {
        if (draw) {
            DrawPicture(*picture, stretched,
                        Rect{x, top, PositionSum(x, givenWidth), PositionSum(top, givenHeight)});
        }
        size = stretched
                   ? Size{givenWidth, givenHeight}
                   : Size{DeviceWidth(picture->AnimationWidth()), DeviceHeight(picture->AnimationHeight())};
    }
    PlaceImage(size, attributes);
}

Size LineLayout::ImageListPicture(std::int32_t index, std::int32_t x, std::int32_t top) {
    const ImageList* list = host_.Images;
    if (list == nullptr || index < 0 || index >= list->Count()) {
        return {};
    }
    if (!paintNothing_ && !in_.Printing) {
        list->Draw(canvas_, x, top, index);
    } else if (!paintNothing_) {
        StretchBitmapToCanvas(canvas_, ScaledRect(x, top, {list->Width(), list->Height()}, in_.ImageScale),
                              OnWhite(list->Image(index)));
    }
    return {DeviceWidth(list->Width()), DeviceHeight(list->Height())};
}

void LineLayout::DrawPicture(THTMLPicture& picture, bool stretched, const Rect& given) {
    if (stretched) {
        // Both controls draw at the asked size; only the label leaves the picture marked as stretched.
        const bool wasStretched = picture.Stretch();
        picture.SetStretch(true);
        picture.Draw(canvas_, given);
        picture.SetStretch(rules_.MarksStretched || wasStretched);
        return;
    }
    const std::int32_t frames = picture.CountFrames();
    if (rules_.ClearsUnderFrames && frames > 1 && s_.Background != clNone) {
        // An earlier frame must not show through the parts that this frame leaves out.
        canvas_.SetPenColor(s_.Background);
        canvas_.SetBrushColor(s_.Background);
        canvas_.Rectangle({given.Left, given.Top, given.Left + picture.AnimationWidth(),
                           given.Top + picture.AnimationHeight()});
    }
    const std::int32_t left = given.Left + picture.FrameLeft();
    const std::int32_t top = given.Top + picture.FrameTop();
    picture.Draw(canvas_, {left, top, left + DeviceWidth(picture.PictureWidth()),
                           top + DeviceHeight(picture.PictureHeight())});
}

void LineLayout::PlaceImage(const Size& size, const std::string& attributes) {
    // While drawing, runs add no width, so the drawing pass measures from where it stands.
    const std::int64_t offset =
        paintNothing_ ? std::int64_t{result_.XExtent} : std::int64_t{textRect_.Left} - lineRect_.Left;
    if (decidesLayout_ && offset + size.Width > LineWidth() && size.Width < LineWidth()) {
        lineFull_ = true;
        return;
    }
    if (KeepsHits() && s_.Flow.InsideAnchor) {
        KeptLayout::HitEvent event;
        event.Kind = KeptLayout::HitEvent::Kind::Image;
        event.From = offset;
        event.To = offset + size.Width;
        event.Top = lineRect_.Top;
        event.Bottom = std::int64_t{lineRect_.Top} + size.Height;
        KeepHit(event);
    }
    const std::int64_t hitX = std::int64_t{in_.HitX} - lineRect_.Left;
    if (s_.Flow.InsideAnchor && hitX > offset && hitX < offset + size.Width && in_.HitY > lineRect_.Top &&
        std::int64_t{in_.HitY} < std::int64_t{lineRect_.Top} + size.Height) {
        out_.HitAnchor = s_.Flow.Href;
        result_.ImageHit = true;
        s_.HitImage = s_.Flow.ImageCounter;
    }
    result_.XExtent = PositionSum(result_.XExtent, size.Width);
    textRect_.Left = PositionSum(textRect_.Left, size.Width);
    line_.Height = std::max(line_.Height, size.Height);
    // A space before the picture no longer ends the line.
    trailingSpace_ = 0;

    if (Holds(attributes, "ALIGN")) {
        const std::int32_t spare = line_.Height - canvas_.TextHeight("gh");
        if (Holds(attributes, "\"TOP")) {
            line_.TextOffset = spare;
        }
        if (Holds(attributes, "\"MIDDLE")) {
            line_.TextOffset = spare / 2;
        }
    }
}

void LineLayout::Body(std::string_view tag) {
    if (paintNothing_ || (in_.SuppressColors && !rules_.LooseBodyColor)) {
        return;
    }
    const std::string_view written = WrittenAttributeText(tag, 5);
    const std::string attributes = UpperCaseAnsi(written);
    if (const auto name = WrittenAttributeValue(written, attributes, "BACKGROUND")) {
        TileBackground(*name);
    }
    const auto value = AttributeValue(attributes, "BGCOLOR");
    if (!value) {
        return;
    }
    if (rules_.LooseBodyColor) {
        TColor color = canvas_.TextBackground();
        if (Holds(*value, "CL")) {
            color = ColorFromName(LowerCaseAnsi(*value));
        }
        if (Holds(*value, "#")) {
            color = ColorFromHex(*value);
        }
        canvas_.SetBrushColor(color);
        s_.SavedFontBackground = color;
        FillInPenColor(in_.Bounds, color);
        return;
    }
    const TColor color = ColorFromValue(*value).value_or(clNone);
    if (const auto to = AttributeValue(attributes, "BGCOLORTO"); to && rules_.Gradients) {
        const auto direction = AttributeValue(attributes, "DIR");
        canvas_.SetPenColor(color);
        FillGradientBands(canvas_, color, ColorFromValue(*to).value_or(clNone),
                          !direction || *direction == "H", in_.Bounds, kGradientBands, clNone);
        canvas_.SetBrushColor(clNone);
        return;
    }
    s_.SavedFontBackground = canvas_.TextBackground();
    canvas_.SetBrushColor(color);
    const Rect& b = in_.Bounds;
    FillInPenColor({b.Left - 2, b.Top, b.Right, b.Bottom}, color);
}

void LineLayout::FillInPenColor(const Rect& area, TColor color) {
    // No colour fills nothing: an outline in no colour would be drawn in whatever that value resolves to.
    if (color == clNone) {
        return;
    }
    const TColor pen = canvas_.CurrentPen().Color;
    canvas_.SetPenColor(color);
    canvas_.Rectangle(area);
    canvas_.SetPenColor(pen);
}

void LineLayout::TileBackground(std::string_view name) {
    THTMLPicture* picture = FindPicture(name);
    if (picture == nullptr || picture->QueryEmpty() || picture->PictureWidth() <= 0 ||
        picture->PictureHeight() <= 0) {
        return;
    }
    const Rect& area = in_.Bounds;
    const ClipScope restoreClip(canvas_);
    canvas_.IntersectClipRect(area);
    const Rect visible = canvas_.ClipRect().value_or(area);
    const std::int64_t width = picture->PictureWidth();
    const std::int64_t height = picture->PictureHeight();
    // Tiles wholly outside the clip would draw nothing, however large the area.
    const std::int64_t firstRow = std::max<std::int64_t>(0, (std::int64_t{visible.Top} - area.Top) / height);
    const std::int64_t firstColumn =
        std::max<std::int64_t>(0, (std::int64_t{visible.Left} - area.Left) / width);
    for (std::int64_t y = firstRow * height; y < area.Height() && area.Top + y < visible.Bottom;
         y += height) {
        for (std::int64_t x = firstColumn * width; x < area.Width() && area.Left + x < visible.Right;
             x += width) {
            const auto left = static_cast<std::int32_t>(area.Left + x);
            const auto top = static_cast<std::int32_t>(area.Top + y);
            picture->Draw(canvas_, {left, top, left + static_cast<std::int32_t>(width),
                                    top + static_cast<std::int32_t>(height)});
        }
    }
}

void LineLayout::ParagraphBackground(const std::string& attributes) {
    const auto value = AttributeValue(attributes, "BGCOLOR");
    if (!value || paintNothing_ || in_.SuppressColors) {
        return;
    }
    const TColor color = ColorFromValue(*value).value_or(clNone);
    const Rect& b = in_.Bounds;
    s_.ParagraphBand = true;
    const auto to = AttributeValue(attributes, "BGCOLORTO");
    if (to && rules_.Gradients) {
        canvas_.SetPenColor(color);
        FillGradientBands(canvas_, color, ColorFromValue(*to).value_or(clNone), true,
                          {b.Left, lineRect_.Top, b.Right, lineRect_.Bottom + 2}, kGradientBands, clNone);
        canvas_.SetBrushColor(clNone);
        return;
    }
    s_.SavedParagraphBackground = canvas_.TextBackground();
    canvas_.SetBrushColor(color);
    if (color != clNone) {
        canvas_.SetPenColor(color);
        canvas_.Rectangle({b.Left, lineRect_.Top, b.Right, lineRect_.Bottom});
    }
}

void LineLayout::FillParagraphBand() {
    const TColor color = canvas_.TextBackground();
    if (paintNothing_ || !s_.ParagraphBand || color == clNone) {
        return;
    }
    canvas_.SetPenColor(color);
    canvas_.Rectangle({in_.Bounds.Left, lineRect_.Top, in_.Bounds.Right, lineRect_.Top + line_.Height});
}

} // namespace velmora
