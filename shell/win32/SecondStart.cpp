#include "shell/win32/SecondStart.h"

#include "files/win32/WidePaths.h"
#include "shell/handover/HandOverRetries.h"
#include "shell/win32/HandOverProtocol.h"
#include "shell/win32/HandOverSender.h"

#include <shellapi.h>

namespace velmora {

namespace {

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
    StartDecision decision;
    decision.ExitCode =
        ClaimOrHandOverWith({[&] { return (decision.Mark = InstanceMutex::Acquire()) != nullptr; },
                             [&] { return AnswerOf(HandOver(path, patience)); },
                             [&](const std::string& why) {
                                 tell(Why(path, why));
                             }},
                            patience);
    return decision;
}

} // namespace velmora
