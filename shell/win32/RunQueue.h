#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>
#include <windows.h>

namespace velmora {

// The window's runs, one at a time: sheets handed over or dropped while a run pumps messages wait
// here, and run from the event loop (a posted message) when the run before them is over.
class RunQueue {
public:
    using Run = std::function<void(const std::vector<std::wstring>& paths)>;

    // `run` repairs the sheets of one batch and may pump messages; it reports its own errors.
    // `runPendingMessage` is posted to `window`, whose procedure calls RunPending for it.
    RunQueue(HWND window, UINT runPendingMessage, Run run);

    // `done` is called when the batch's run is over.
    void Queue(std::vector<std::wstring> paths, std::function<void()> done);
    void RunPending();

    bool Running() const { return running_; }

private:
    struct PendingRun {
        std::vector<std::wstring> Paths;
        std::function<void()> Done;
    };

    HWND window_;
    UINT runPendingMessage_;
    Run run_;
    std::deque<PendingRun> pending_;
    bool running_ = false;
};

// The main window's answer to WM_COPYDATA: a hand-over is queued (its sender is told when its run is
// over) and answered with kHandOverAnswer; anything else is answered with 0. `bringForward` is called
// for every hand-over.
LRESULT ReceiveHandOver(const COPYDATASTRUCT& data, RunQueue& runs,
                        const std::function<void()>& bringForward);

} // namespace velmora
