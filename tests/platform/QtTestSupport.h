#pragma once

#include "graphics/qt/testing/QtWarnings.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <chrono>
#include <functional>

namespace velmora::testkit {

// One offscreen GUI application for the whole test program, with Qt warnings
// turned into test failures (see QtWarnings.h).
QGuiApplication& Application();

// Runs the event loop until `done` holds or `limit` passes; returns `done()`.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));

} // namespace velmora::testkit
