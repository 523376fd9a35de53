#include "pictures/qt/QtPictureDecoder.h"

#include "PictureWriting.h"
#include "errors/Error.h"
#include "graphics/qt/QtCanvas.h"
#include "graphics/qt/testing/QtTestSupport.h"
#include "pictures/BitmapPicture.h"
#include "pictures/HTMLPicture.h"
#include "pictures/testing/GifWriter.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <string>
#include <vector>

namespace velmora {
namespace {

using testkit::LoadPicture;

using testkit::MakeGif;
using ByteVector = std::vector<std::uint8_t>;

ByteVector Encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return {bytes.begin(), bytes.end()};
}

ByteVector Filled(int width, int height, QRgb colour, const char* format) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return Encode(image, format);
}

ByteVector TwoFrameGif() {
    return MakeGif(20, 10,
                   {{.Left = 0, .Top = 0, .Width = 4, .Height = 4, .ColorIndex = 0, .Delay = 50},
                    {.Left = 6, .Top = 2, .Width = 3, .Height = 2, .ColorIndex = 2, .Delay = 20}});
}

const Bitmap& PixelsOf(const THTMLPicture& picture) {
    const auto* decoded = dynamic_cast<const BitmapPicture*>(picture.Decoded());
    if (decoded == nullptr) {
        static const Bitmap none;
        ADD_FAILURE() << "no decoded picture";
        return none;
    }
    return decoded->Pixels();
}

bool Near(Argb actual, Argb expected) {
    for (int shift = 0; shift < 32; shift += 8) {
        if (std::abs(static_cast<int>((actual >> shift) & 0xFF) -
                     static_cast<int>((expected >> shift) & 0xFF)) > 8) {
            return false;
        }
    }
    return true;
}

class QtPictureDecoderTest : public testkit::QtTest {
protected:
    PictureBackend backend = QtPictureBackend();
};

TEST_F(QtPictureDecoderTest, DecodesTheWantedFormatsAtTheirOwnSize) {
    const struct {
        const char* name;
        ByteVector bytes;
        std::int32_t width;
        std::int32_t height;
        Argb colour;
    } cases[] = {
        {"PNG", Filled(5, 3, 0xFF00FF00, "PNG"), 5, 3, 0xFF00FF00},
        {"JPEG", Filled(16, 8, 0xFFFF0000, "JPEG"), 16, 8, 0xFFFF0000},
        {"BMP", Filled(6, 4, 0xFF0000FF, "BMP"), 6, 4, 0xFF0000FF},
        {"ICO", Filled(16, 16, 0xFFFFFFFF, "ICO"), 16, 16, 0xFFFFFFFF},
        {"GIF", MakeGif(7, 5, {{.Width = 7, .Height = 5, .ColorIndex = 1, .WithControlBlock = false}}), 7, 5,
         0xFF00FF00},
    };
    for (const auto& c : cases) {
        THTMLPicture picture(backend);
        LoadPicture(picture, c.bytes);
        EXPECT_EQ(picture.PictureWidth(), c.width) << c.name;
        EXPECT_EQ(picture.PictureHeight(), c.height) << c.name;
        EXPECT_EQ(picture.Decoded()->HimetricWidth(), MulDiv(c.width, 2540, 96)) << c.name;
        const Bitmap& pixels = PixelsOf(picture);
        EXPECT_TRUE(Near(pixels.Pixel(c.width / 2, c.height / 2), c.colour))
            << c.name << ": " << std::hex << pixels.Pixel(c.width / 2, c.height / 2);
    }
}

TEST_F(QtPictureDecoderTest, RefusesOtherFormatsAndNonsense) {
    const struct {
        const char* name;
        ByteVector bytes;
    } cases[] = {
        {"PPM", Filled(4, 4, 0xFF000000, "PPM")},
        {"text", {'h', 'e', 'l', 'l', 'o'}},
        {"nothing", {}},
        {"GIF header only", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        THTMLPicture picture(backend);
        try {
            LoadPicture(picture, c.bytes);
            ADD_FAILURE() << "no error for " << c.name;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "Could not load image. Invalid format") << c.name;
        }
        EXPECT_EQ(picture.PictureWidth(), 0) << c.name;
    }
}

TEST_F(QtPictureDecoderTest, EachFrameIsShownOnTheLogicalScreen) {
    // The first frame covers 4x4 of the 20x10 screen; the second adds 3x2 at (6,2) over it.
    const struct {
        std::int32_t frame;
        Argb corner;
        Argb atSecond;
    } cases[] = {{1, testkit::kGifPalette[0], 0}, {2, testkit::kGifPalette[0], testkit::kGifPalette[2]}};
    for (const auto& c : cases) {
        THTMLPicture picture(backend);
        LoadPicture(picture, TwoFrameGif());
        picture.SetFrame(c.frame);
        EXPECT_EQ(picture.PictureWidth(), 20) << c.frame;
        EXPECT_EQ(picture.PictureHeight(), 10) << c.frame;
        EXPECT_EQ(picture.FrameLeft(), 0) << c.frame;
        EXPECT_EQ(PixelsOf(picture).Pixel(3, 3), c.corner) << c.frame;
        EXPECT_EQ(PixelsOf(picture).Pixel(6, 2), c.atSecond) << c.frame;
        EXPECT_EQ(PixelsOf(picture).Pixel(8, 3), c.atSecond) << c.frame;
        EXPECT_EQ(PixelsOf(picture).Pixel(9, 3), 0u) << c.frame;
    }
}

TEST_F(QtPictureDecoderTest, CutGifDataNeverReadsPastItsEnd) {
    const ByteVector whole = TwoFrameGif();
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const ByteVector cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        THTMLPicture picture(backend);
        for (std::int32_t frame : {1, 2}) {
            try {
                picture.SetFrame(frame);
                LoadPicture(picture, cut);
                EXPECT_LE(picture.PictureWidth(), 20) << length;
            } catch (const Error& error) {
                EXPECT_EQ(std::string(error.what()).rfind("Could not load image", 0), 0u) << length;
            }
        }
    }
}

TEST_F(QtPictureDecoderTest, ResourceAddressesLoadTheProgramsRcdata) {
    const struct {
        const char* address;
        bool empty;
        std::int32_t frames;
    } cases[] = {
        {"RES://Anim", false, 2},    {"res://Anim", false, 2},
        {"RES://anim", false, 2},    {"res://ANIM", false, 2}, // names are found without regard to case
        {"RES://Missing", true, -1}, {"RES://../rcdata/Anim", true, -1},
    };
    for (const auto& c : cases) {
        THTMLPicture picture(backend);
        picture.LoadFromAddress(c.address);
        EXPECT_EQ(picture.SourceAddress(), c.address);
        EXPECT_EQ(picture.QueryEmpty(), c.empty) << c.address;
        EXPECT_EQ(picture.FrameTotal(), c.frames) << c.address;
    }
    THTMLPicture broken(backend);
    EXPECT_THROW(broken.LoadFromAddress("RES://Broken"), Error);
}

TEST_F(QtPictureDecoderTest, DrawsOnAQtCanvasWhereThePictureBelongs) {
    THTMLPicture picture(backend);
    LoadPicture(picture, TwoFrameGif());
    picture.SetFrame(2);
    QImage image(40, 30, QImage::Format_ARGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QtCanvas canvas(painter);
        picture.Draw(canvas, {10, 10, 40, 30});
        picture.SetStretch(true);
        picture.Draw(canvas, {0, 20, 40, 30});
    }
    const struct {
        int x;
        int y;
        QRgb expected;
    } probes[] = {
        // The second frame on its screen: red 4x4 at the corner, blue 3x2 at (6,2), clear elsewhere.
        {10, 10, 0xFFFF0000}, {13, 13, 0xFFFF0000}, {16, 12, 0xFF0000FF}, {18, 13, 0xFF0000FF},
        {19, 12, 0xFFFFFFFF}, {14, 10, 0xFFFFFFFF}, {9, 10, 0xFFFFFFFF},  {2, 21, 0xFFFF0000},
        {14, 22, 0xFF0000FF}, {30, 25, 0xFFFFFFFF},
    };
    for (const auto& p : probes) {
        EXPECT_EQ(image.pixel(p.x, p.y), p.expected) << p.x << "," << p.y;
    }
}

} // namespace
} // namespace velmora
