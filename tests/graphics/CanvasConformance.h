// One table of what every canvas must do alike, run on each: FakeCanvas here, QtCanvas in
// QtCanvasTest.cpp and GdiCanvas in GdiCanvasTest.cpp. A maker type gives the suite a fresh canvas:
// `static void Paint(const std::function<void(Canvas&)>& draw)`.
#pragma once

#include "graphics/Canvas.h"

#include <functional>
#include <gtest/gtest.h>

namespace velmora {

// The colour at a point of the surface; empty for a canvas that draws no pixels.
using SurfacePixels = std::function<TColor(int x, int y)>;
using CanvasPainter = SurfacePixels (*)(Size size, const std::function<void(Canvas&)>& draw);

class CanvasConformanceTest : public ::testing::TestWithParam<CanvasPainter> {
protected:
    static SurfacePixels Paint(const std::function<void(Canvas&)>& draw, Size size = {200, 60}) {
        return GetParam()(size, draw);
    }
};

// The rows that look at pixels, for the canvases that draw them (not FakeCanvas).
class CanvasPixelConformanceTest : public CanvasConformanceTest {};

} // namespace velmora
