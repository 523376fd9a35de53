#include "graphics/qt/testing/QtTestSupport.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using testkit::QtTest;

struct ProgramRun {
    int exitCode = -1;
    QString output;
    QString errors;
};

ProgramRun RunProgram(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    process.start(QStringLiteral(VELMORA_MARKUP_PROGRAM), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

class VelmoraMarkupProgramTest : public QtTest {
protected:
    QTemporaryDir folder_;
    QString Picture() const { return folder_.filePath("out.png"); }
};

TEST_F(VelmoraMarkupProgramTest, ExitStatusTellsWhatWentWrong) {
    struct Case {
        QStringList arguments;
        int exitCode;
        QString errorStart;
    };
    const Case cases[] = {
        {{"--width", "abc", "x", "out.png"}, 2, "velmora-markup: --width must be"},
        {{"only-markup"}, 2, "velmora-markup: expected MARKUP and OUT.png"},
        {{"x", "/nonexistent-folder/out.png"}, 1, "velmora-markup: cannot write /nonexistent-folder/out.png"},
    };
    for (const Case& c : cases) {
        const ProgramRun run = RunProgram(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(run.errors.contains(c.errorStart)) << run.errors.toStdString();
        EXPECT_TRUE(run.output.isEmpty()) << run.output.toStdString();
    }
    EXPECT_TRUE(RunProgram({"--bogus", "x", "o.png"}).errors.contains("usage: velmora-markup"));
}

TEST_F(VelmoraMarkupProgramTest, WritesThePictureAndItsNumbers) {
    const ProgramRun run =
        RunProgram({"--width", "150", "--height", "40", "--hit", "2,2", "<A href=\"a\">go</A>", Picture()});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QImage picture(Picture());
    EXPECT_EQ(picture.size(), QSize(150, 40));
    EXPECT_TRUE(run.output.startsWith("textWidth: ")) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("\nanchorCount: 1\nhit: true\nhitAnchor: a\nhitAnchorNumber: 1\n"))
        << run.output.toStdString();
}

TEST_F(VelmoraMarkupProgramTest, WritesOnePicturePerAnimationFrame) {
    const QString gif = QStringLiteral(VELMORA_GIF_DATA "/gifsicle-comment.gif");
    const ProgramRun run =
        RunProgram({"--container", "anim=" + gif, "--animate", "3", "<IMG src=\"anim\">", Picture()});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_FALSE(QFile::exists(Picture())) << "only the numbered frames";
    const char* const colours[] = {"#ff0000", "#ff0000", "#00ff00"};
    for (int frame = 1; frame <= 3; ++frame) {
        const QImage picture(folder_.filePath(QStringLiteral("out-%1.png").arg(frame)));
        ASSERT_FALSE(picture.isNull()) << frame;
        EXPECT_EQ(picture.pixelColor(5, 3).name().toStdString(), colours[frame - 1]) << frame;
    }
}

TEST_F(VelmoraMarkupProgramTest, SaysWhenATallTextIsCut) {
    QByteArray markup;
    for (int i = 0; i < 40000; ++i) {
        markup += "<BR>";
    }
    const ProgramRun run = RunProgram({"-", Picture()}, markup);
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_EQ(QImage(Picture()).height(), 10000);
    EXPECT_TRUE(run.errors.contains(QRegularExpression(
        "^velmora-markup: the text is \\d+ pixels high; the picture shows its first 10000$",
        QRegularExpression::MultilineOption)))
        << run.errors.toStdString();
}

TEST_F(VelmoraMarkupProgramTest, ContainerPicturesMustLoad) {
    const ProgramRun run = RunProgram({"--container", "a=/no/such/file.png", "x", Picture()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains("velmora-markup: cannot read /no/such/file.png\n"))
        << run.errors.toStdString();
    EXPECT_FALSE(QFile::exists(Picture()));

    const ProgramRun missing = RunProgram({"<IMG src=\"FILE:///no/such/Picture.png\">", Picture()});
    EXPECT_EQ(missing.exitCode, 0);
    EXPECT_TRUE(missing.errors.contains("velmora-markup: no picture at FILE:///no/such/Picture.png\n"))
        << missing.errors.toStdString();
}

TEST_F(VelmoraMarkupProgramTest, ReadsUtf8MarkupAsTheControlsReadWindows1252) {
    // The euro sign typed in UTF-8 must come out as the entity's 0x80, not as three Latin-1 letters.
    const auto widthOf = [&](const QStringList& arguments, const QByteArray& input = {}) {
        const ProgramRun run = RunProgram(arguments, input);
        EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
        return run.output.section('\n', 0, 0);
    };
    const QString entity = widthOf({"&euro;&euro;&euro;", Picture()});
    EXPECT_EQ(widthOf({QString::fromUtf8("\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"), Picture()}), entity);
    EXPECT_EQ(widthOf({"-", Picture()}, "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC"), entity);
}

TEST_F(VelmoraMarkupProgramTest, KeepsAsUtf8WhatWindows1252CannotHold) {
    // As a control keeps such a text: UTF-8 behind the mark, so its anchor comes back whole, not as "??".
    const QString tokyo = QString::fromUtf8("\xE6\x9D\xB1\xE4\xBA\xAC");
    for (const QByteArray& mark : {QByteArray(), QByteArray("\xEF\xBB\xBF")}) {
        const ProgramRun run = RunProgram({"--hit", "2,2", "-", Picture()},
                                          mark + ("<A href=\"" + tokyo + "\">" + tokyo + "</A>").toUtf8());
        EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
        EXPECT_TRUE(run.output.contains("\nhit: true\nhitAnchor: " + tokyo + "\n"))
            << run.output.toStdString();
    }
}

} // namespace
} // namespace velmora

namespace velmora {
namespace {

TEST_F(VelmoraMarkupProgramTest, HelpPrintsTheUsageAndSucceeds) {
    for (const char* help : {"--help", "-h"}) {
        const ProgramRun run = RunProgram({"--width", "10", help});
        EXPECT_EQ(run.exitCode, 0) << help;
        EXPECT_TRUE(run.output.startsWith("usage: velmora-markup")) << run.output.toStdString();
        EXPECT_TRUE(run.output.contains("--resources FILE.rcc")) << run.output.toStdString();
        EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();
        EXPECT_FALSE(QFile::exists(Picture()));
    }
}

// A compiled resource file that holds one red picture as :/rcdata/Dot, made with the resource compiler.
QString MakeResourceFile(const QTemporaryDir& folder) {
    QImage dot(6, 4, QImage::Format_RGB32);
    dot.fill(Qt::red);
    dot.save(folder.filePath("Dot"), "PNG");
    QFile list(folder.filePath("dot.qrc"));
    list.open(QIODevice::WriteOnly);
    list.write("<RCC><qresource prefix=\"/rcdata\"><file>Dot</file></qresource></RCC>\n");
    list.close();
    const QString compiled = folder.filePath("dot.rcc");
    QProcess::execute(QStringLiteral(RESOURCE_COMPILER),
                      {"--binary", "-o", compiled, folder.filePath("dot.qrc")});
    return compiled;
}

TEST_F(VelmoraMarkupProgramTest, ResourcePicturesShowFromANamedResourceFile) {
    const QString resources = MakeResourceFile(folder_);
    ASSERT_TRUE(QFile::exists(resources));
    struct Case {
        QStringList options;
        int exitCode;
        bool red;
        QString errorStart;
    };
    const Case cases[] = {
        {{"--resources", resources}, 0, true, ""},
        {{}, 0, false, "velmora-markup: no picture at RES://Dot"},
        {{"--resources", folder_.filePath("dot.qrc")},
         1,
         false,
         "velmora-markup: cannot read resources from"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        QFile::remove(Picture());
        const ProgramRun run =
            RunProgram(c.options + QStringList{"--width", "20", "<IMG src=\"RES://Dot\">", Picture()});
        EXPECT_EQ(run.exitCode, c.exitCode) << run.errors.toStdString();
        const QString said = c.errorStart.isEmpty() ? QStringLiteral("velmora-markup:") : c.errorStart;
        EXPECT_EQ(run.errors.contains(said), !c.errorStart.isEmpty()) << run.errors.toStdString();
        if (c.exitCode == 0) {
            EXPECT_EQ(QImage(Picture()).pixelColor(2, 2) == QColor(Qt::red), c.red);
        } else {
            EXPECT_FALSE(QFile::exists(Picture()));
        }
    }
}

} // namespace
} // namespace velmora
