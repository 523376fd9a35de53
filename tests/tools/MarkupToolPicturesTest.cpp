// What velmora-markup shows of pictures, hover and ellipsis, on the same canvas the controls draw on.
#include "graphics/qt/QtConversions.h"
#include "graphics/qt/testing/QtTestSupport.h"
#include "tools/velmora-markup/MarkupToolRendering.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using testkit::QtTest;

int PixelsOf(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += image.pixelColor(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

class MarkupToolPicturesTest : public QtTest {
protected:
    MarkupToolPicturesTest() {
        // A folder with capitals in its name, as people's folders have.
        folder_.emplace(QDir::tempPath() + "/velmora-Markup-XXXXXX");
        QImage red(10, 6, QImage::Format_ARGB32);
        red.fill(Qt::red);
        red.save(folder_->filePath("Red.png"));
        options.Width = 120;
        options.FontName = "Arial";
        options.FontSize = 10;
    }

    std::string RedPath() const { return folder_->filePath("Red.png").toStdString(); }

    QImage Render(const std::string& markup, MarkupToolReport& report) {
        return RenderMarkupPicture(options, markup, pictures, report);
    }

    std::optional<QTemporaryDir> folder_;
    MarkupToolOptions options;
    MarkupToolPictures pictures;
};

TEST_F(MarkupToolPicturesTest, ShowsFilePicturesByAddressAndByContainerName) {
    ASSERT_EQ(pictures.AddContainerPicture("dot", RedPath()), std::nullopt);
    struct Case {
        std::string markup;
        int redPixels;
        std::vector<std::string> missing;
    };
    const Case cases[] = {
        {"<IMG src=\"FILE://" + RedPath() + "\">", 60, {}},
        {"<IMG src=\"file://" + RedPath() + "\"><IMG src=\"dot\">", 120, {}},
        {"<IMG src=\"DOT\">", 60, {}},
        {"<IMG src=\"FILE:///no/such/Picture.png\">", 0, {"FILE:///no/such/Picture.png"}},
    };
    for (const Case& c : cases) {
        pictures.Cache.Clear();
        MarkupToolReport report;
        const QImage image = Render(c.markup, report);
        EXPECT_EQ(PixelsOf(image, QColor(Qt::red)), c.redPixels) << c.markup;
        EXPECT_EQ(report.MissingPictures, c.missing) << c.markup;
    }
}

TEST_F(MarkupToolPicturesTest, ContainerFilesThatCannotBeShownAreReported) {
    const QString text = folder_->filePath("notes.txt");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    EXPECT_EQ(pictures.AddContainerPicture("a", "/no/such/file.png"), "cannot read /no/such/file.png");
    EXPECT_EQ(pictures.AddContainerPicture("b", text.toStdString()),
              "cannot show " + text.toStdString() + ": Could not load image. Invalid format");
}

TEST_F(MarkupToolPicturesTest, EllipsisCutsLinesInsteadOfWrappingThem) {
    const std::string markup = "first <B>averyveryveryverylongword</B><BR>third";
    MarkupToolReport wrapped;
    Render(markup, wrapped);
    options.Ellipsis = true;
    MarkupToolReport cut;
    const QImage image = Render(markup, cut);
    EXPECT_EQ(wrapped.TextHeight, cut.TextHeight * 3 / 2) << "three lines wrapped, two cut";
    EXPECT_EQ(image.height(), cut.TextHeight);
}

TEST_F(MarkupToolPicturesTest, HoverStylesOnlyTheAnchorUnderThePoint) {
    options.Width = 200;
    const std::string markup = "<A href=\"a\">first</A> and <A href=\"b\">second</A>";
    MarkupToolReport report;
    const QColor link(0, 0, 255);
    // Without hover every anchor is underlined; with it, only the one under the point.
    const int allUnderlined = PixelsOf(Render(markup, report), link);
    options.Hover = Point{8, 8};
    const int firstUnderlined = PixelsOf(Render(markup, report), link);
    options.Hover = Point{190, 8};
    const int noneUnderlined = PixelsOf(Render(markup, report), link);
    EXPECT_GT(allUnderlined, firstUnderlined);
    EXPECT_GT(firstUnderlined, noneUnderlined);
    EXPECT_GT(noneUnderlined, 0) << "anchors keep their colour";
    EXPECT_FALSE(report.Hit) << "hover alone reports no hit";
}

TEST_F(MarkupToolPicturesTest, AnimationStepsTheContainersGif) {
    ASSERT_EQ(pictures.AddContainerPicture("anim", std::string(VELMORA_GIF_DATA) + "/imagemagick-loop.gif"),
              std::nullopt);
    // Red 20x10, then lime 6x4 at (3,2) from the second tick; the picture stands at (1,0).
    const char* const colours[] = {"#ff0000", "#ff0000", "#00ff00"};
    for (const char* expected : colours) {
        MarkupToolReport report;
        const QImage image = Render("<IMG src=\"anim\">", report);
        EXPECT_EQ(image.pixelColor(5, 3).name().toStdString(), expected);
        pictures.Step();
    }
}

TEST_F(MarkupToolPicturesTest, ATallTextIsCutAtTheLargestPicture) {
    std::string markup;
    for (int i = 0; i < 3000; ++i) {
        markup += "line<BR>";
    }
    MarkupToolReport report;
    const QImage image = Render(markup, report);
    EXPECT_EQ(image.height(), kLargestPicture);
    ASSERT_TRUE(report.CutFromHeight);
    EXPECT_GT(*report.CutFromHeight, kLargestPicture);

    MarkupToolReport small;
    EXPECT_LT(Render("line<BR>line", small).height(), 100);
    EXPECT_FALSE(small.CutFromHeight);
}

} // namespace
} // namespace velmora
