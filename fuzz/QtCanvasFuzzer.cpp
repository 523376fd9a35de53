// Draws the input on QtCanvas over an offscreen QImage, with real fonts: as one text run with any
// format flags, or as markup through RenderMarkup. The first bytes pick the font, its size, rotation,
// styles and encoding, the rectangle, a clip and the flags; the rest is the text. It stops on any pixel drawn
// outside the clip, and on any pixel drawn by a call that only measures.
#include "FuzzInput.h"
#include "graphics/qt/QtCanvas.h"
#include "markup/RenderMarkup.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <optional>

namespace {

using velmora::fuzz::FuzzInput;

constexpr int kWidth = 64;
constexpr int kHeight = 48;
constexpr QRgb kPaper = 0xFFFFFFFF;

const char* const kFaces[] = {"MS Sans Serif", "Arial", "Symbol",    "Liberation Serif",
                              "Courier New",   "",      "NoSuchFace"};

void StartQt() {
    static int argc = 1;
    static char name[] = "QtCanvasFuzzer";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static QGuiApplication application(argc, argv);
}

std::int32_t Signed(FuzzInput& input, std::int32_t spread) {
    return static_cast<std::int32_t>(input.Byte()) * spread / 128 - spread;
}

// True when a pixel outside the area (everywhere, for none) is no longer paper.
bool DrawnOutside(const QImage& image, const std::optional<velmora::Rect>& area) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool inside =
                area && x >= area->Left && x < area->Right && y >= area->Top && y < area->Bottom;
            if (!inside && image.pixel(x, y) != kPaper) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StartQt();
    FuzzInput input(data, size);
    const std::uint8_t flags = input.Byte();
    const std::uint8_t styles = input.Byte();
    const std::uint8_t formatLow = input.Byte();
    const std::uint8_t formatHigh = input.Byte();

    velmora::FontState font;
    font.Name = kFaces[input.Byte() % std::size(kFaces)];
    font.Size = Signed(input, 40);
    font.Escapement = Signed(input, 4) * 450 + (input.Bit(flags, 7) ? Signed(input, 100) : 0);
    font.Color = velmora::clBlack;
    font.Bold = input.Bit(styles, 0);
    font.Italic = input.Bit(styles, 1);
    font.Underline = input.Bit(styles, 2);
    font.StrikeOut = input.Bit(styles, 3);
    font.Encoding = input.Bit(styles, 4) ? velmora::TextEncoding::Utf8 : velmora::TextEncoding::Windows1252;
    const std::int32_t left = Signed(input, 40);
    const std::int32_t top = Signed(input, 40);
    velmora::Rect rect{left, top, left + input.Byte() / 2, top + input.Byte() / 2};
    const std::int32_t clipLeft = input.Byte() % kWidth;
    const std::int32_t clipTop = input.Byte() % kHeight;
    const velmora::Rect clip{clipLeft, clipTop, clipLeft + input.Byte() % kWidth,
                             clipTop + input.Byte() % kHeight};
    const bool clipped = input.Bit(flags, 0);
    const bool markup = input.Bit(flags, 1);
    const velmora::TextFormat format = static_cast<velmora::TextFormat>(formatLow | (formatHigh << 8));
    const bool measuring = !markup && (format & velmora::DT_CALCRECT) != 0;

    QImage image(kWidth, kHeight, QImage::Format_ARGB32);
    image.fill(kPaper);
    {
        QPainter painter(&image);
        velmora::QtCanvas canvas(painter);
        canvas.SetFont(font);
        canvas.SetBrushColor(input.Bit(flags, 2) ? velmora::clYellow : velmora::clNone);
        if (clipped) {
            canvas.SetClipRect(clip);
        }
        const velmora::TextBatch batch(canvas);
        if (markup) {
            velmora::MarkupCall params(canvas);
            params.Request.Markup = input.Rest();
            params.Request.Bounds = rect;
            params.Request.WordWrap = input.Bit(flags, 3);
            params.Request.NoDraw = input.Bit(flags, 4);
            params.Request.ShadowOffset = input.Bit(flags, 5) ? 2 : 0;
            params.Request.Flavor =
                input.Bit(flags, 6) ? velmora::MarkupFlavor::StaticText : velmora::MarkupFlavor::Label;
            params.Run();
            if (params.Result.TextWidth < 0 || params.Result.TextHeight < 0) {
                std::abort();
            }
        } else {
            canvas.DrawText(input.Rest(), rect, format);
        }
    }
    if (measuring && DrawnOutside(image, std::nullopt)) {
        std::abort();
    }
    if (clipped && DrawnOutside(image, clip)) {
        std::abort();
    }
    return 0;
}
