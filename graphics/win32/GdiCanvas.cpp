#include "graphics/win32/GdiCanvas.h"

#include "graphics/win32/GdiHeaders.h"
#include "text/Utf8Sequences.h"
#include "text/Windows1252.h"

#include <algorithm>
#include <cwchar>
#include <vector>

namespace velmora {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "GDI's wide characters are UTF-16 units");

constexpr int kLargestPixelSize = 1000;

COLORREF ToColorRef(TColor color) {
    return static_cast<COLORREF>(ColorToRGB(color)) & 0x00FFFFFFu;
}

RECT ToRECT(const Rect& rect) {
    return {rect.Left, rect.Top, rect.Right, rect.Bottom};
}

// A point size becomes a character height in pixels, as a negative lfHeight asks; sizes are kept
// within reason so that markup cannot ask for a font of thousands of pixels.
LONG CharacterHeight(std::int32_t size, int pixelsPerInchY) {
    const std::int64_t points = size == 0 ? 8 : (size < 0 ? -static_cast<std::int64_t>(size) : size);
    const auto bounded = static_cast<std::int32_t>(std::min<std::int64_t>(points, kLargestPixelSize));
    return -std::clamp(MulDiv(bounded, pixelsPerInchY, 72), 1, kLargestPixelSize);
}

std::wstring ToWide(const std::u16string& text) {
    return {text.begin(), text.end()};
}

// The engine's text as GDI's wide functions take it.
std::wstring Wide(std::string_view text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) {
        return ToWide(DecodeUtf8(text));
    }
    // Windows-1252 keeps 0x20-0x7E and 0xA0-0xFF at their own code points, which GDI finds in a symbol
    // font (the Symbol font's bullet 0xB7 among them) at U+F000 plus the code.
    return ToWide(DecodeWindows1252(text));
}

// The rectangle around the clip region the device came with, if it has one.
std::optional<Rect> DeviceClip(HDC dc) {
    std::optional<Rect> clip;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (GetClipRgn(dc, region) == 1) {
        RECT box{};
        GetRgnBox(region, &box);
        clip = Rect{box.left, box.top, box.right, box.bottom};
    }
    DeleteObject(region);
    return clip;
}

} // namespace

void GdiCanvas::ObjectDeleter::operator()(HFONT__* font) const {
    DeleteObject(font);
}

void GdiCanvas::ObjectDeleter::operator()(HPEN__* pen) const {
    DeleteObject(pen);
}

void GdiCanvas::ObjectDeleter::operator()(HBRUSH__* brush) const {
    DeleteObject(brush);
}

GdiCanvas::GdiCanvas(HDC__* dc) : Canvas(DeviceClip(dc)), dc_(dc), savedState_(SaveDC(dc)) {
    SelectFont();
    SelectPen();
    SelectBrush();
}

GdiCanvas::~GdiCanvas() {
    // Deselects the canvas's objects before they are deleted.
    RestoreDC(dc_, savedState_);
}

void GdiCanvas::StateChanged(StatePart part) {
    switch (part) {
    case StatePart::Font:
        SelectFont();
        break;
    case StatePart::Brush:
        SelectBrush();
        break;
    case StatePart::Pen:
        SelectPen();
        break;
    case StatePart::Clip:
        SelectClip();
        break;
    }
}

void GdiCanvas::SelectFont() {
    const FontState& font = Font();
    LOGFONTW logFont{};
    logFont.lfHeight = CharacterHeight(font.Size, PixelsPerInchY());
    logFont.lfEscapement = font.Escapement;
    logFont.lfOrientation = font.Escapement;
    logFont.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = font.Italic ? TRUE : FALSE;
    logFont.lfUnderline = font.Underline ? TRUE : FALSE;
    logFont.lfStrikeOut = font.StrikeOut ? TRUE : FALSE;
    logFont.lfCharSet = font.Charset;
    logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
    logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    logFont.lfQuality = DEFAULT_QUALITY;
    logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring name = ToWide(DecodeWindows1252(font.Name));
    std::wcsncpy(logFont.lfFaceName, name.c_str(), LF_FACESIZE - 1);
    Owned<HFONT__> created(CreateFontIndirectW(&logFont));
    SelectObject(dc_, created.get());
    gdiFont_ = std::move(created);
}

FontMetrics GdiCanvas::Metrics() const {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    return {metrics.tmHeight,          metrics.tmAscent,          metrics.tmDescent,
            metrics.tmInternalLeading, metrics.tmExternalLeading, metrics.tmAveCharWidth};
}

void GdiCanvas::SelectBrush() {
    if (CurrentBrush().Style == BrushStyle::Clear) {
        SelectObject(dc_, GetStockObject(NULL_BRUSH));
        gdiBrush_.reset();
        return;
    }
    Owned<HBRUSH__> created(CreateSolidBrush(ToColorRef(CurrentBrush().Color)));
    SelectObject(dc_, created.get());
    gdiBrush_ = std::move(created);
}

void GdiCanvas::SelectPen() {
    const Pen& pen = CurrentPen();
    const int style = pen.Style == PenStyle::Clear ? PS_NULL : PS_SOLID;
    Owned<HPEN__> created(CreatePen(style, std::max(pen.Width, 0), ToColorRef(pen.Color)));
    SelectObject(dc_, created.get());
    gdiPen_ = std::move(created);
}

Size GdiCanvas::TextExtent(std::string_view text) const {
    if (text.empty()) {
        return {0, Metrics().Height};
    }
    const std::wstring wide = Wide(text, Font().Encoding);
    SIZE size{};
    GetTextExtentPoint32W(dc_, wide.data(), static_cast<int>(wide.size()), &size);
    return {size.cx, size.cy};
}

void GdiCanvas::PrepareText() {
    SetTextColor(dc_, ToColorRef(Font().Color));
    if (CurrentBrush().Style == BrushStyle::Clear) {
        SetBkMode(dc_, TRANSPARENT);
    } else {
        SetBkMode(dc_, OPAQUE);
        SetBkColor(dc_, ToColorRef(CurrentBrush().Color));
    }
}

std::int32_t GdiCanvas::DrawText(std::string_view text, Rect& rect, TextFormat format) {
    std::wstring wide = Wide(text, Font().Encoding);
    if ((format & DT_CALCRECT) != 0) {
        // An extent does not depend on where the text would sit; GDI would leave a bottom-aligned
        // rectangle's bottom where it was instead of setting it from the text's height.
        format &= ~(DT_BOTTOM | DT_VCENTER);
    } else if (Font().Escapement % 3600 != 0) {
        // Rotated text leaves its rectangle by nature; clipping it there would hide it.
        format |= DT_NOCLIP;
    }
    PrepareText();
    RECT area = ToRECT(rect);
    const int result = DrawTextExW(dc_, wide.data(), static_cast<int>(wide.size()), &area, format, nullptr);
    if ((format & DT_CALCRECT) != 0) {
        rect.Right = area.right;
        rect.Bottom = area.bottom;
    }
    return result;
}

void GdiCanvas::Rectangle(const Rect& rect) {
    ::Rectangle(dc_, rect.Left, rect.Top, rect.Right, rect.Bottom);
}

void GdiCanvas::FillRect(const Rect& rect) {
    if (gdiBrush_ && !rect.IsEmpty()) {
        const RECT area = ToRECT(rect);
        ::FillRect(dc_, &area, gdiBrush_.get());
    }
}

void GdiCanvas::DrawPenLine(Point from, Point to) {
    MoveToEx(dc_, from.X, from.Y, nullptr);
    ::LineTo(dc_, to.X, to.Y);
}

void GdiCanvas::Polyline(std::span<const Point> points) {
    std::vector<POINT> gdiPoints;
    gdiPoints.reserve(points.size());
    for (const Point& p : points) {
        gdiPoints.push_back({p.X, p.Y});
    }
    ::Polyline(dc_, gdiPoints.data(), static_cast<int>(gdiPoints.size()));
}

void GdiCanvas::DrawFocusRect(const Rect& rect) {
    // The frame's dots take the text and background colours; black and white make it a plain inversion.
    const COLORREF text = SetTextColor(dc_, RGB(0, 0, 0));
    const COLORREF background = SetBkColor(dc_, RGB(255, 255, 255));
    const RECT area = ToRECT(rect);
    ::DrawFocusRect(dc_, &area);
    SetTextColor(dc_, text);
    SetBkColor(dc_, background);
}

void GdiCanvas::DrawScrollArrow(const Rect& rect, ScrollArrow arrow) {
    RECT area = ToRECT(rect);
    DrawFrameControl(dc_, &area, DFC_SCROLL,
                     (arrow == ScrollArrow::Up ? DFCS_SCROLLUP : DFCS_SCROLLDOWN) | DFCS_FLAT);
}

void GdiCanvas::SelectClip() {
    const std::optional<Rect> clip = ClipRect();
    if (!clip) {
        SelectClipRgn(dc_, nullptr);
        return;
    }
    HRGN region = CreateRectRgn(clip->Left, clip->Top, clip->Right, clip->Bottom);
    SelectClipRgn(dc_, region);
    DeleteObject(region);
}

std::int32_t GdiCanvas::PixelsPerInchX() const {
    return GetDeviceCaps(dc_, LOGPIXELSX);
}

std::int32_t GdiCanvas::PixelsPerInchY() const {
    return GetDeviceCaps(dc_, LOGPIXELSY);
}

void GdiCanvas::DrawBitmap(std::int32_t x, std::int32_t y, const Bitmap& bitmap) {
    Blend({x, y, x + bitmap.Width(), y + bitmap.Height()}, bitmap);
}

void GdiCanvas::StretchDrawBitmap(const Rect& target, const Bitmap& bitmap) {
    Blend(target, bitmap);
}

void GdiCanvas::Blend(const Rect& target, const Bitmap& bitmap) {
    if (bitmap.IsEmpty() || target.IsEmpty()) {
        return;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = bitmap.Width();
    info.bmiHeader.biHeight = -bitmap.Height(); // top-down, as Bitmap's rows are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section == nullptr) {
        return;
    }
    // Blending takes premultiplied pixels, laid out as Argb is in memory: blue, green, red, alpha.
    auto* out = static_cast<std::uint32_t*>(bits);
    for (const Argb pixel : bitmap.Pixels()) {
        const std::uint32_t alpha = AlphaOf(pixel);
        const auto scaled = [&](int shift) {
            return (((pixel >> shift) & 0xFFu) * alpha + 127) / 255 << shift;
        };
        *out++ = (alpha << 24) | scaled(16) | scaled(8) | scaled(0);
    }
    HDC source = CreateCompatibleDC(dc_);
    HGDIOBJ previous = SelectObject(source, section);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(dc_, target.Left, target.Top, target.Width(), target.Height(), source, 0, 0, bitmap.Width(),
                  bitmap.Height(), blend);
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(section);
}

} // namespace velmora
