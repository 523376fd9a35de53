#include "shell/win32/RunQueue.h"

#include "shell/win32/HandOverProtocol.h"

#include <memory>
#include <utility>

namespace velmora {

RunQueue::RunQueue(HWND window, UINT runPendingMessage, Run run)
    : window_(window), runPendingMessage_(runPendingMessage), run_(std::move(run)) {}

void RunQueue::Queue(std::vector<std::wstring> paths, std::function<void()> done) {
    pending_.push_back(PendingRun{std::move(paths), std::move(done)});
    PostMessageW(window_, runPendingMessage_, 0, 0);
}

void RunQueue::RunPending() {
    // A run that pumps messages meets this message again: the batches wait for it to end.
    if (running_) {
        return;
    }
    running_ = true;
    while (!pending_.empty()) {
        PendingRun next = std::move(pending_.front());
        pending_.pop_front();
        run_(next.Paths);
        if (next.Done) {
            next.Done();
        }
    }
    running_ = false;
}

LRESULT ReceiveHandOver(const COPYDATASTRUCT& data, RunQueue& runs,
                        const std::function<void()>& bringForward) {
    const std::optional<HandOverRequest> request = ReadHandOver(data);
    if (!request) {
        return 0;
    }
    const HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, request->EventName.c_str());
    if (event == nullptr) {
        return 0;
    }
    // Shared, as the queue copies its callbacks; closed with the last copy, set only when the run is over.
    const std::shared_ptr<void> runOver(event, CloseHandle);
    bringForward();
    if (!request->Path) {
        SetEvent(event);
        return kHandOverAnswer;
    }
    runs.Queue({*request->Path}, [runOver] { SetEvent(runOver.get()); });
    return kHandOverAnswer;
}

} // namespace velmora
