#pragma once

#include <optional>
#include <string>
#include <windows.h>

namespace velmora {

// A second start hands its sheet to the running window with WM_COPYDATA: dwData 1066, and as data the
// UTF-16 name of an event the sender waits on, a NUL, then the path (no path: the window is only to
// come forward). The window answers kHandOverAnswer at once, queues the run, and sets the event when the
// run is over, so that the sender waits as long as the run lasts while the window never nests runs.
inline constexpr ULONG_PTR kHandOverData = 1066;
// Any other answer (a window of another program with the same class name answers 0) is no hand-over.
inline constexpr LRESULT kHandOverAnswer = 0x564C4D52;
inline constexpr const wchar_t* kMainWindowClass = L"TForm1";
inline constexpr const wchar_t* kInstanceMutexName = L"Test";
// Event names the window accepts: another process may not make it set an event of its choosing.
inline constexpr const wchar_t* kRunEventPrefix = L"Local\\VelmoraRun-";
// The longest path Windows' wide calls accept.
inline constexpr std::size_t kLongestPath = 32767;

struct HandOverRequest {
    std::wstring EventName;
    std::optional<std::wstring> Path;
};

std::wstring HandOverPayload(const HandOverRequest& request);

// Nothing for data of another kind, a malformed payload, a foreign event name or a path with a NUL.
std::optional<HandOverRequest> ReadHandOver(const COPYDATASTRUCT& data);

} // namespace velmora
