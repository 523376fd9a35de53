#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace velmora {

enum class HandOverResult {
    NoWindow,  // no window of ours answers
    Delivered, // the path's run is over (or there was no path), and the window was shown normally
    Broken,    // the window's process ended before the path's run was over
};

// The second start's side: finds the running window among the top-level windows of class "TForm1"
// (another program's window of that class does not answer), hands `path` over, waits without a time
// limit for its run, then shows the window normally. A window that answers no message within
// `answerWithin` is passed over.
HandOverResult HandOver(const std::optional<std::wstring>& path, std::chrono::milliseconds answerWithin);

} // namespace velmora
