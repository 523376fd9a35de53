#pragma once

#include "graphics/qt/testing/PixelProbes.h"
#include "graphics/qt/testing/QtWarnings.h"

#include <gtest/gtest.h>

namespace velmora::testkit {

// Fixture for GoogleTest tests that use Qt. Linking this library gives the test program one QApplication
// on the offscreen platform, made before the first test; the program must not make another. A Qt warning
// during a test of this fixture fails it (see QtWarnings.h).
class QtTest : public ::testing::Test {
protected:
    void SetUp() override;
};

} // namespace velmora::testkit
