#include "shell/win32/SecondStart.h"

#include "files/win32/WidePaths.h"
#include "shell/win32/HandOverProtocol.h"
#include "shell/win32/HandOverSender.h"

#include <cstdlib>
#include <shellapi.h>
#include <thread>

namespace velmora {

namespace {

constexpr std::chrono::milliseconds kRetryPause{25};
// A window that keeps dying on the handed-over sheets should not be restarted forever.
constexpr int kMostBreaks = 20;

std::string Why(const std::optional<std::wstring>& path, const std::string& why) {
    std::string message = "velmora: " + why;
    if (path) {
        message += "; \"" + Utf8FromWide(*path) + "\" was not repaired";
    }
    return message;
}

} // namespace

std::unique_ptr<InstanceMutex> InstanceMutex::Acquire() {
    const HANDLE handle = CreateMutexW(nullptr, TRUE, kInstanceMutexName);
    if (handle == nullptr) {
        return nullptr;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(handle);
        return nullptr;
    }
    return std::unique_ptr<InstanceMutex>(new InstanceMutex(handle));
}

InstanceMutex::~InstanceMutex() {
    ReleaseMutex(handle_);
    CloseHandle(handle_);
}

std::optional<std::wstring> HandOverArgument(const std::vector<std::wstring>& arguments) {
    if (arguments.size() != 1) {
        return std::nullopt;
    }
    const std::wstring& argument = arguments.front();
    const DWORD size = argument.empty() ? 0 : GetFullPathNameW(argument.c_str(), 0, nullptr, nullptr);
    if (size == 0) {
        return argument;
    }
    std::wstring full(size, L'\0');
    full.resize(GetFullPathNameW(argument.c_str(), size, full.data(), nullptr));
    return full;
}

std::vector<std::wstring> CommandLineArguments(const wchar_t* commandLine) {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(commandLine, &count);
    std::vector<std::wstring> arguments;
    for (int i = 1; words != nullptr && i < count; ++i) {
        arguments.emplace_back(words[i]);
    }
    LocalFree(words);
    return arguments;
}

StartDecision ClaimOrHandOver(const std::optional<std::wstring>& path, std::chrono::milliseconds patience,
                              const std::function<void(const std::string& message)>& tell) {
    auto deadline = std::chrono::steady_clock::now() + patience;
    int breaks = 0;
    for (;;) {
        if (auto mark = InstanceMutex::Acquire()) {
            return StartDecision{std::move(mark), 0};
        }
        switch (HandOver(path, patience)) {
        case HandOverResult::Delivered:
            return StartDecision{};
        case HandOverResult::Broken:
            if (++breaks > kMostBreaks) {
                tell(Why(path, "the running window went away " + std::to_string(breaks) + " times"));
                return StartDecision{nullptr, 1};
            }
            // Whoever takes the mutex next needs the time to start that the first one had.
            deadline = std::chrono::steady_clock::now() + patience;
            break;
        case HandOverResult::NoWindow:
            if (std::chrono::steady_clock::now() >= deadline) {
                tell(Why(path, "the running Velmora did not take hand-overs within " +
                                   std::to_string(patience.count()) + " ms"));
                return StartDecision{nullptr, 1};
            }
            std::this_thread::sleep_for(kRetryPause);
            break;
        }
    }
}

std::chrono::milliseconds HandOverPatience() {
    if (const char* value = std::getenv("VELMORA_HANDOVER_PATIENCE"); value != nullptr && *value != '\0') {
        char* end = nullptr;
        const double seconds = std::strtod(value, &end);
        if (*end == '\0' && seconds >= 0) {
            return std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
        }
    }
    return std::chrono::seconds(30);
}

} // namespace velmora
