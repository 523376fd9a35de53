#pragma once

#include "graphics/Rect.h"

#include <QColor>
#include <QImage>
#include <QStringList>
#include <gtest/gtest.h>

namespace velmora {

// Fails the test when Qt reported anything at warning level or above while it ran.
class QtTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// A white image at 96 pixels per inch.
QImage WhiteImage(int width, int height, int pixelsPerInch = 96);

// The smallest rectangle holding every pixel that differs from `background`; empty when none does.
Rect InkBounds(const QImage& image, QColor background = Qt::white, const Rect& area = {0, 0, 100000, 100000});

int InkCount(const QImage& image, QColor background = Qt::white, const Rect& area = {0, 0, 100000, 100000});

} // namespace velmora
