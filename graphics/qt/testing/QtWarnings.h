#pragma once

#include <QString>
#include <string>
#include <vector>

namespace velmora::testkit {

// A Qt warning during a test is a fault, except the offscreen platform's notes that it cannot pass size
// hints on or raise a window.
bool IsExpectedQtNote(const QString& message);

// For GoogleTest programs: from now on, every other Qt warning fails the running test, unless a
// CapturedQtWarnings lives.
void FailTestsOnQtWarnings();

// For QtTest programs, called from each test's init(): every other Qt warning fails the test.
void FailOnQtWarnings();

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

} // namespace velmora::testkit
