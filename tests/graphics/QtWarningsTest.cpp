// The guard every Qt test relies on: a Qt warning fails the test that caused it.
#include "graphics/qt/testing/QtTestSupport.h"

#include <QtGlobal>
#include <gtest/gtest-spi.h>

namespace velmora::testkit {
namespace {

class QtWarningsTest : public QtTest {};

TEST_F(QtWarningsTest, AWarningFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(qWarning("the frame is broken"), "Qt reported: the frame is broken");
    EXPECT_NONFATAL_FAILURE(qCritical("no more descriptors"), "Qt reported: no more descriptors");
}

TEST_F(QtWarningsTest, NotesAndCapturedWarningsDoNot) {
    qDebug("a debug note");
    qInfo("an information");
    // The offscreen platform says these of every window it cannot manage.
    qWarning("This plugin does not support raise()");
    qWarning("This plugin does not support propagateSizeHints()");
    CapturedQtWarnings captured;
    qWarning("expected here");
    EXPECT_TRUE(captured.Contains("expected"));
    EXPECT_FALSE(captured.Contains("debug"));
}

TEST(QtWarningNotesTest, OnlyTheOffscreenPlatformsNotesAreExpected) {
    EXPECT_TRUE(IsExpectedQtNote("This plugin does not support raise()"));
    EXPECT_FALSE(IsExpectedQtNote("This plugin does not support raise() twice"));
    EXPECT_FALSE(IsExpectedQtNote("QPainter::begin: Paint device returned engine == 0"));
}

} // namespace
} // namespace velmora::testkit
