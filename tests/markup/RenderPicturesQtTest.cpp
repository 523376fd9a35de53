#include "graphics/qt/QtCanvas.h"
#include "graphics/qt/testing/QtTestSupport.h"
#include "markup/PictureDrawing.h"
#include "markup/RenderMarkup.h"
#include "markup/qt/QtShellIconSource.h"
#include "pictures/PictureContainer.h"
#include "pictures/qt/QtPictureDecoder.h"

#include <QBuffer>
#include <QPainter>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace velmora {
namespace {

using testkit::InkBounds;

// Pictures and backgrounds drawn by QtCanvas from real PNG bytes, looked at as a person would.
class RenderPicturesOnQt : public testkit::QtTest {
protected:
    void AddPng(const std::string& name, const QImage& image) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(image.save(&buffer, "PNG"));
        TPictureItem& item = container.Items().Add();
        item.Name = name;
        std::istringstream stream(bytes.toStdString());
        item.Picture().LoadStream(&stream);
    }

    QImage Render(const std::string& markup, int width, int height, ShellIconSource* icons = nullptr,
                  MarkupFlavor flavor = MarkupFlavor::Label) {
        QImage image = testkit::WhiteImage(width, height);
        QPainter painter(&image);
        QtCanvas canvas(painter);
        canvas.SetFont({"Arial", 10, clBlack});
        canvas.SetBrushColor(clWhite);
        MarkupCall params(canvas);
        params.Request.Markup = markup;
        params.Request.Bounds = {0, 0, width, height};
        params.Sources.PictureContainer = &container;
        params.Sources.ShellIcons = icons;
        params.Request.Flavor = flavor;
        params.Run();
        painter.end();
        return image;
    }

    TPictureContainer container{QtPictureBackend()};
};

QImage Filled(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

TEST_F(RenderPicturesOnQt, InlinePictureTiledBackgroundAndGradient) {
    AddPng("dot", Filled(12, 12, Qt::red));
    QImage tile = Filled(8, 8, Qt::white);
    QPainter(&tile).fillRect(0, 0, 4, 4, Qt::green);
    AddPng("tile", tile);
    const QImage image = Render("<BODY background=\"tile\">ab <IMG src=\"dot\"><BR><P bgcolor=\"clwhite\" "
                                "bgcolorto=\"clblue\">&nbsp;</P>",
                                240, 80);

    Rect dot{1000, 1000, -1, -1};
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 240; ++x) {
            if (image.pixelColor(x, y) == Qt::red) {
                dot = {std::min(dot.Left, x), std::min(dot.Top, y), std::max(dot.Right, x + 1),
                       std::max(dot.Bottom, y + 1)};
            }
        }
    }
    EXPECT_EQ(dot.Width(), 12) << "the whole picture shows";
    EXPECT_EQ(dot.Height(), 12);
    EXPECT_EQ(dot.Top, 0) << "on the line's top";
    EXPECT_GT(dot.Left, 12) << "right of the text";

    // Below the lines only the tiles show: green in the top-left quarter of every 8 x 8 square.
    int wrong = 0;
    for (int y = 60; y < 80; ++y) {
        for (int x = 0; x < 240; ++x) {
            const QColor expected = x % 8 < 4 && y % 8 < 4 ? QColor(Qt::green) : QColor(Qt::white);
            wrong += image.pixelColor(x, y) == expected ? 0 : 1;
        }
    }
    EXPECT_EQ(wrong, 0);

    // The gradient band runs from white on the left to blue on the right.
    int bandTop = -1;
    for (int y = 0; y < 60 && bandTop < 0; ++y) {
        const QColor c = image.pixelColor(238, y);
        bandTop = c.blue() > 200 && c.red() < 30 && c.green() < 30 ? y : -1;
    }
    ASSERT_GE(bandTop, 12) << "on the second line";
    const int row = bandTop + 1;
    EXPECT_GT(image.pixelColor(1, row).red(), 240);
    int previous = 256;
    bool falling = true;
    for (int x = 0; x < 240; ++x) {
        const int r = image.pixelColor(x, row).red();
        falling = falling && r <= previous;
        previous = r;
        EXPECT_EQ(image.pixelColor(x, row).blue(), 255) << x;
    }
    EXPECT_TRUE(falling) << "red fades steadily from left to right";
}

TEST_F(RenderPicturesOnQt, BothFlavorsStretchAPictureToItsAskedSize) {
    AddPng("dot", Filled(12, 12, Qt::red));
    for (const MarkupFlavor flavor : {MarkupFlavor::Label, MarkupFlavor::StaticText}) {
        const QImage image =
            Render("<IMG src=\"dot\" width=\"40\" height=\"30\">x<BR>next line", 200, 80, nullptr, flavor);
        const QString name = flavor == MarkupFlavor::Label ? "label" : "static text";
        EXPECT_EQ(testkit::ColorBounds(image, Qt::red), QRect(1, 0, 40, 30)) << name.toStdString();
        EXPECT_EQ(testkit::CountColor(image, Qt::red), 40 * 30) << "every pixel of the slot, nothing past it";
    }
}

TEST_F(RenderPicturesOnQt, StretchedCopiesReplaceWhatLiesBelow) {
    QImage image = testkit::WhiteImage(20, 20);
    {
        QPainter painter(&image);
        QtCanvas canvas(painter);
        StretchBitmapToCanvas(canvas, {0, 0, 10, 10}, Bitmap(2, 2, 0x40FF0000));
    }
    EXPECT_EQ(image.pixelColor(5, 5), QColor(255, 0, 0)) << "red, not pink: alpha is not used";
    EXPECT_EQ(image.pixelColor(15, 15), Qt::white);
}

TEST_F(RenderPicturesOnQt, ShellIconsComeInTwoSizes) {
    QtShellIconSource icons;
    struct Case {
        std::string markup;
        int side;
    };
    const Case cases[] = {{"<IMG src=\"SSYS:.txt\">", 16}, {"<IMG src=\"LSYS:.txt\">", 32}};
    for (const Case& c : cases) {
        const QImage image = Render(c.markup, 60, 40, &icons);
        const Rect ink = InkBounds(image);
        EXPECT_FALSE(ink.IsEmpty()) << c.markup;
        EXPECT_GE(ink.Left, 1) << c.markup;
        EXPECT_LE(ink.Right, 1 + c.side) << c.markup;
        EXPECT_GT(ink.Right, 1 + c.side / 2) << c.markup;
        EXPECT_LE(ink.Bottom, c.side) << c.markup;
    }
}

TEST_F(RenderPicturesOnQt, IconNumbersStayWithTheirIcons) {
    QtShellIconSource icons;
    const std::int32_t text = icons.IconIndex(".txt", true);
    EXPECT_GE(text, 7) << "after the standard icons";
    EXPECT_EQ(icons.IconIndex("other.txt", true), text);
    EXPECT_NE(icons.IconIndex(".png", true), text);
    EXPECT_EQ(icons.IconIndex(std::filesystem::temp_directory_path().string(), false), 5)
        << "the folder icon";
    EXPECT_EQ(icons.IconSize(false), (Size{16, 16}));
    EXPECT_EQ(icons.IconSize(true), (Size{32, 32}));
    EXPECT_EQ(icons.Icon(text, true).Width(), 32);
    EXPECT_TRUE(icons.Icon(1000, false).IsEmpty());
    EXPECT_TRUE(icons.Icon(-1, false).IsEmpty());
}

} // namespace
} // namespace velmora
