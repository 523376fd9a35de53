#pragma once

#include <QElapsedTimer>
#include <QGuiApplication>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace velmora::testing {

// One offscreen GUI application for the whole test program, with Qt warnings
// turned into test failures.
QGuiApplication& Application();

// While one lives, Qt warnings are recorded here instead of failing the test.
class CapturedQtWarnings {
public:
    CapturedQtWarnings();
    ~CapturedQtWarnings();
    CapturedQtWarnings(const CapturedQtWarnings&) = delete;
    CapturedQtWarnings& operator=(const CapturedQtWarnings&) = delete;

    bool Contains(const std::string& part) const;

    std::vector<std::string> messages;
};

// Runs the event loop until `done` holds or `limit` passes; returns `done()`.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));

} // namespace velmora::testing
