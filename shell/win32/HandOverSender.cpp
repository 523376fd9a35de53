#include "shell/win32/HandOverSender.h"

#include "files/win32/WidePaths.h"
#include "shell/win32/HandOverProtocol.h"

#include <atomic>

namespace velmora {

namespace {

std::wstring NewRunEventName() {
    static std::atomic<unsigned> counter{0};
    return kRunEventPrefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++counter);
}

} // namespace

HandOverResult HandOver(const std::optional<std::wstring>& path, std::chrono::milliseconds answerWithin) {
    const auto timeout = static_cast<UINT>(answerWithin.count());
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, kMainWindowClass, nullptr)) != nullptr) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        // Opened before the message, so that the process waited on is the one that answered.
        const WinHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
        const HandOverRequest request{NewRunEventName(), path};
        const WinHandle runOver(CreateEventW(nullptr, TRUE, FALSE, request.EventName.c_str()));
        if (!process.valid() || !runOver.valid()) {
            continue;
        }
        std::wstring payload = HandOverPayload(request);
        COPYDATASTRUCT data{kHandOverData, static_cast<DWORD>(payload.size() * sizeof(wchar_t)),
                            payload.data()};
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, timeout,
                                &answer) == 0 ||
            static_cast<LRESULT>(answer) != kHandOverAnswer) {
            continue;
        }
        const HANDLE waited[] = {runOver.get(), process.get()};
        if (WaitForMultipleObjects(2, waited, FALSE, INFINITE) != WAIT_OBJECT_0) {
            return HandOverResult::Broken;
        }
        ShowWindow(window, SW_SHOWNORMAL);
        return HandOverResult::Delivered;
    }
    return HandOverResult::NoWindow;
}

} // namespace velmora
