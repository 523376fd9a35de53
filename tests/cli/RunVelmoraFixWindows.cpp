#include "../cue/TestSupport.h"
#include "RunVelmoraFix.h"
#include "files/win32/WidePaths.h"

#include <stdexcept>

namespace velmora::fix {

// Starts the program itself, its output in files, as a console would: the arguments go as one command
// line, which the program's runtime splits.
Finished RunVelmoraFix(const std::string& folder, const std::string& arguments, const std::string& prefix,
                       const std::string& program) {
    if (!prefix.empty()) {
        throw std::runtime_error("Windows runs no program under a prefix");
    }
    const testkit::TempFolder output;
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const auto create = [&](const std::string& path) {
        return CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    WinHandle out(create(output / "out"));
    WinHandle err(create(output / "err"));
    WinHandle in(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                             OPEN_EXISTING, 0, nullptr));
    // The build names the program by its full path; make it one of this system's.
    std::wstring programPath(MAX_PATH * 4, L'\0');
    programPath.resize(GetFullPathNameW(WideFromUtf8(program).c_str(), static_cast<DWORD>(programPath.size()),
                                        programPath.data(), nullptr));
    std::wstring command = L"\"" + programPath + L"\" " + WideFromUtf8(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in.get();
    startup.hStdOutput = out.get();
    startup.hStdError = err.get();
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(programPath.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        WidePath(folder).c_str(), &startup, &process)) {
        throw std::runtime_error("cannot start " + program);
    }
    WinHandle child(process.hProcess);
    WinHandle thread(process.hThread);
    WaitForSingleObject(child.get(), INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(child.get(), &status);
    out.Close();
    err.Close();
    return {static_cast<int>(status), testkit::ReadFile(output / "out"), testkit::ReadFile(output / "err")};
}

} // namespace velmora::fix
