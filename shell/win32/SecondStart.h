#pragma once

#include "shell/handover/HandOverPatience.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>

namespace velmora {

// The named mutex "Test", held by the running instance until it ends. Taken in one call, so that two
// starts at the same moment cannot both take it.
class InstanceMutex {
public:
    // Nothing when another process holds the mutex.
    static std::unique_ptr<InstanceMutex> Acquire();
    ~InstanceMutex();
    InstanceMutex(const InstanceMutex&) = delete;
    InstanceMutex& operator=(const InstanceMutex&) = delete;

private:
    explicit InstanceMutex(HANDLE handle) : handle_(handle) {}
    HANDLE handle_;
};

// The path a second start hands over: its one argument made absolute against its own working folder
// (the running instance works in another one); nothing for no argument or several.
std::optional<std::wstring> HandOverArgument(const std::vector<std::wstring>& arguments);

// The arguments of a command line, the program's name left out, with the quotes that group a path with
// spaces removed.
std::vector<std::wstring> CommandLineArguments(const wchar_t* commandLine);

struct StartDecision {
    // Set when this process is to be the window.
    std::unique_ptr<InstanceMutex> Mark;
    // Otherwise the process ends with this status.
    int ExitCode = 0;
};

// Takes the mutex, or hands `path` to the window of the process that holds it and waits for its run. A
// window that goes away before its answer sends this start back to the beginning. When no window of
// ours answers within `patience`, `tell` says why and the start ends with status 1: it never ends with
// 0 unless its sheet's run was answered.
StartDecision ClaimOrHandOver(const std::optional<std::wstring>& path, std::chrono::milliseconds patience,
                              const std::function<void(const std::string& message)>& tell);

} // namespace velmora
