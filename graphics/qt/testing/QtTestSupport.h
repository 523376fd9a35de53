#pragma once

#include "graphics/Rect.h"

#include <QColor>
#include <QImage>
#include <QStringList>
#include <gtest/gtest.h>

namespace velmora::testing {

// Fixture for tests that use Qt. Linking this library gives the test program one QApplication on the
// offscreen platform, made before the first test; the program must not make another. A test fails
// when Qt reports more warnings than it declared with ExpectQtWarnings.
class QtTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void ExpectQtWarnings(int count) { expectedWarnings_ = count; }

private:
    int expectedWarnings_ = 0;
};

// A white image at 96 pixels per inch.
QImage WhiteImage(int width, int height, int pixelsPerInch = 96);

// The smallest rectangle holding every pixel that differs from `background`; empty when none does.
Rect InkBounds(const QImage& image, QColor background = Qt::white, const Rect& area = {0, 0, 100000, 100000});

int InkCount(const QImage& image, QColor background = Qt::white, const Rect& area = {0, 0, 100000, 100000});

} // namespace velmora::testing
