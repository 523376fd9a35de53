#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <windows.h>

namespace velmora {

inline std::filesystem::path ThisFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path();
}

inline std::vector<std::string> Lines(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

inline std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// One process the test starts, ended when the test is over.
class Peer {
public:
    // `program` is found from the folder of the test program.
    Peer(const std::filesystem::path& program, const std::wstring& arguments,
         const std::filesystem::path& folder, const std::filesystem::path& errors = {}) {
        std::wstring commandLine = L"\"" + (ThisFolder() / program).wstring() + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        HANDLE errorFile = nullptr;
        if (!errors.empty()) {
            SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
            errorFile = CreateFileW(errors.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdError = errorFile;
        }
        started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  folder.c_str(), &startup, &process_) != 0;
        if (errorFile != nullptr) {
            CloseHandle(errorFile);
        }
    }
    ~Peer() {
        if (started_) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, INFINITE);
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    // The exit status, or -1 when the process still runs after `limit`.
    int Wait(std::chrono::milliseconds limit = std::chrono::seconds(60)) const {
        if (!started_ ||
            WaitForSingleObject(process_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
            return -1;
        }
        DWORD status = 0;
        GetExitCodeProcess(process_.hProcess, &status);
        return static_cast<int>(status);
    }
    void Kill() const { TerminateProcess(process_.hProcess, 98); }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

} // namespace velmora
