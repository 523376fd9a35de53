#include "files/testing/ScratchFiles.h"
#include "files/win32/WidePaths.h"

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <random>
#include <stdexcept>
#include <vector>

namespace velmora::testkit {

namespace fs = std::filesystem;

TempFolder::TempFolder(const std::string& base) {
    static std::mt19937_64 random{std::random_device{}()};
    const std::u8string root =
        base.empty() ? fs::temp_directory_path().u8string() : std::u8string(base.begin(), base.end());
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path folder = fs::path(root) / ("velmora-" + std::to_string(random() % 1000000000));
        std::error_code error;
        if (fs::create_directory(folder, error)) {
            const std::u8string name = folder.make_preferred().u8string();
            path_.assign(name.begin(), name.end());
            path_ += '\\';
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

namespace {

std::mutex guard;
// The links MakeLinuxLink made, by their full paths.
std::vector<std::string> linuxLinks;

// Starts a Linux program through Wine in `folder`. Wine does not wait for such a program nor learn its
// exit code, so the callers wait for what it does to show.
bool StartLinux(std::wstring command, const std::string& folder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        WidePath(folder).c_str(), &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Waits up to ten seconds for `path` to exist, or to be gone.
bool AwaitExisting(const std::string& path, bool existing) {
    for (int wait = 0; wait < 200 && Exists(path) != existing; ++wait) {
        Sleep(50);
    }
    return Exists(path) == existing;
}

} // namespace

bool MakeLinuxLink(const std::string& folder, const std::string& target, const std::string& name) {
    const std::string path = folder + (folder.back() == '\\' ? "" : "\\") + name;
    if (!StartLinux(L"Z:\\bin\\ln -s " + WideFromUtf8(target) + L" " + WideFromUtf8(name), folder) ||
        !AwaitExisting(path, true)) {
        return false;
    }
    const std::lock_guard<std::mutex> lock(guard);
    linuxLinks.push_back(path);
    return true;
}

void RemoveLinuxLinksBelow(const std::string& folder) {
    std::vector<std::string> below;
    {
        const std::lock_guard<std::mutex> lock(guard);
        const auto split = std::partition(linuxLinks.begin(), linuxLinks.end(), [&](const std::string& link) {
            return link.rfind(folder, 0) != 0;
        });
        below.assign(split, linuxLinks.end());
        linuxLinks.erase(split, linuxLinks.end());
    }
    for (const std::string& link : below) {
        std::string relative = link.substr(folder.size());
        std::replace(relative.begin(), relative.end(), '\\', '/');
        if (StartLinux(L"Z:\\bin\\rm -f " + WideFromUtf8(relative), folder)) {
            AwaitExisting(link, false);
        }
    }
}

} // namespace velmora::testkit
