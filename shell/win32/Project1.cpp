// The Windows program's entry: a second start hands its sheet to the running window and ends; the
// first one holds the mutex "Test" and runs the main window until it closes.
// First: the controls bring <windows.h> after the canvas names its macros would clash with.
#include "controls/win32/MarkupWindow.h"
#include "files/win32/WidePaths.h"
#include "platform/win32/RegistryKeys.h"
#include "platform/win32/SystemColors.h"
#include "shell/win32/HandOverProtocol.h"
#include "shell/win32/MainWindow.h"
#include "shell/win32/SecondStart.h"

#include <windows.h>
// commctrl.h needs the types of windows.h.
#include <commctrl.h>

namespace velmora {
namespace {

std::wstring ProgramPath() {
    std::wstring path(kLongestPath + 1, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

bool IsRegularFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

int Run(HINSTANCE instance, int show) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                        ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const std::optional<std::wstring> path = HandOverArgument(CommandLineArguments(GetCommandLineW()));
    const StartDecision decision = ClaimOrHandOver(path, HandOverPatience(), [](const std::string& message) {
        MessageBoxW(nullptr, WideFromUtf8(message).c_str(), L"Velmora", MB_OK | MB_ICONERROR);
    });
    if (!decision.Mark) {
        return decision.ExitCode;
    }
    InstallWindowsSysColors();
    CurrentUserRegistry registry;
    MainWindow window(instance, ProgramPath(), registry);
    ShowWindow(window.Handle(), show);
    if (path && IsRegularFile(*path)) {
        window.Init(*path);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace
} // namespace velmora

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    return velmora::Run(instance, show);
}
