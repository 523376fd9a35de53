// One table of what every canvas must do alike, run on each: FakeCanvas here, QtCanvas in
// QtCanvasTest.cpp and GdiCanvas in GdiCanvasTest.cpp. A maker type gives the suite a fresh canvas:
// `static void Paint(const std::function<void(Canvas&)>& draw)`.
#pragma once

#include "graphics/Canvas.h"

#include <functional>
#include <gtest/gtest.h>

namespace velmora {

using CanvasPainter = void (*)(const std::function<void(Canvas&)>& draw);

class CanvasConformanceTest : public ::testing::TestWithParam<CanvasPainter> {
protected:
    static void Paint(const std::function<void(Canvas&)>& draw) { GetParam()(draw); }
};

} // namespace velmora
