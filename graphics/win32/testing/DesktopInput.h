#pragma once

#include <functional>

// The handles as <windows.h> declares them, under its names.
// NOLINTBEGIN(bugprone-reserved-identifier)
struct HWND__;
// NOLINTEND(bugprone-reserved-identifier)

namespace velmora::testkit {

// Dispatches this thread's messages until `done` or until `patience` milliseconds have passed.
void PumpUntil(const std::function<bool()>& done, unsigned patience = 10000);
// Dispatches this thread's messages for `milliseconds`.
void PumpFor(unsigned milliseconds);

// The mouse as a person moves and clicks it: input from the desktop, not messages posted to the window.
// Points are in the window's client coordinates.
void MoveMouseTo(HWND__* window, int x, int y);
void ClickAt(HWND__* window, int x, int y);

} // namespace velmora::testkit
