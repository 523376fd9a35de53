// The processes of the two-process tests, with the library's own start and hand-over:
//   handover_peer holder LOG RUN_MS   takes the mutex, opens a window of class "TForm1" whose runs write
//                                     "begin PATH" and "end PATH" lines to LOG and pump messages for
//                                     RUN_MS between them; writes "ready" once it listens
//   handover_peer mutex LOG           takes the mutex and opens no window; writes "ready"
//   handover_peer foreign LOG         opens a window of class "TForm1" that answers nothing; writes "ready"
//   handover_peer start [ARGUMENT...] a second start: status 0 when handed over, 1 when it gave up (the
//                                     reason on standard error), 2 when it took the mutex itself
#include "files/win32/WidePaths.h"
#include "shell/win32/HandOverProtocol.h"
#include "shell/win32/RunQueue.h"
#include "shell/win32/SecondStart.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <windows.h>

namespace velmora {
namespace {

constexpr UINT kRunPendingMessage = WM_APP + 1;

std::wstring logPath;
DWORD runMilliseconds = 0;
std::unique_ptr<RunQueue> runs;

void Log(const std::string& line) {
    std::ofstream(std::filesystem::path(logPath), std::ios::app) << line << '\n';
}

void PumpFor(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

LRESULT CALLBACK HolderProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COPYDATA:
        return ReceiveHandOver(*reinterpret_cast<const COPYDATASTRUCT*>(lParam), *runs, [] {});
    case kRunPendingMessage:
        runs->RunPending();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND OpenWindow(WNDPROC procedure) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kMainWindowClass;
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, kMainWindowClass, L"Velmora", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                           nullptr, windowClass.hInstance, nullptr);
}

int Pump() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

int Holder() {
    const auto mark = InstanceMutex::Acquire();
    if (!mark) {
        Log("mutex taken");
        return 3;
    }
    const HWND window = OpenWindow(HolderProcedure);
    runs = std::make_unique<RunQueue>(window, kRunPendingMessage, [](const std::vector<std::wstring>& paths) {
        Log("begin " + Utf8FromWide(paths.front()));
        PumpFor(runMilliseconds);
        Log("end " + Utf8FromWide(paths.front()));
    });
    Log("ready");
    return Pump();
}

int Main(const std::vector<std::wstring>& arguments) {
    if (arguments.empty()) {
        return 9;
    }
    const std::wstring& mode = arguments[0];
    if (mode == L"start") {
        const std::vector<std::wstring> rest(arguments.begin() + 1, arguments.end());
        const StartDecision decision =
            ClaimOrHandOver(HandOverArgument(rest), HandOverPatience(),
                            [](const std::string& message) { std::cerr << message << '\n'; });
        return decision.Mark ? 2 : decision.ExitCode;
    }
    if (arguments.size() < 2) {
        return 9;
    }
    logPath = arguments[1];
    if (mode == L"holder" && arguments.size() == 3) {
        runMilliseconds = static_cast<DWORD>(std::stoul(arguments[2]));
        return Holder();
    }
    if (mode == L"mutex") {
        const auto mark = InstanceMutex::Acquire();
        Log(mark ? "ready" : "mutex taken");
        Sleep(INFINITE);
    }
    if (mode == L"foreign") {
        OpenWindow(DefWindowProcW);
        Log("ready");
        return Pump();
    }
    return 9;
}

} // namespace
} // namespace velmora

int main() {
    return velmora::Main(velmora::CommandLineArguments(GetCommandLineW()));
}
