#pragma once

#include <functional>
#include <string>
#include <vector>

// Real files and folders for the tests of every layer that writes them.
namespace velmora::testkit {

// True where file names are Unicode (UTF-16) and found in any letter case, as on Windows; on Linux they
// are bytes, compared exactly. Cases that meet that difference say what they expect of each.
#ifdef _WIN32
inline constexpr bool kWindowsFileNames = true;
#else
inline constexpr bool kWindowsFileNames = false;
#endif

// A fresh folder under `base` (the system temp folder by default), removed with everything in it.
class TempFolder {
public:
    explicit TempFolder(const std::string& base = "");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending in its separator ("/", or "\\" on Windows).
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

void WriteFile(const std::string& path, const std::string& content);
std::string ReadFile(const std::string& path);
// Names in the folder, sorted.
std::vector<std::string> FolderEntries(const std::string& folder);

#ifdef _WIN32
// Under Wine: a Linux symbolic link `name` in `folder` to `target`, made by Linux's own `ln`, as a
// folder unpacked on Linux holds one. Wine follows it without showing a reparse point, and makes no
// reparse points of its own, so such links stand for them. False where there is no Linux (on Windows
// itself). A TempFolder removes the links below it before anything else, never what they lead to.
bool MakeLinuxLink(const std::string& folder, const std::string& target, const std::string& name);
// Removes the Linux links MakeLinuxLink made below `folder`.
void RemoveLinuxLinksBelow(const std::string& folder);
#endif

// Linux only: Windows has no unprivileged child of this kind.
// Runs `work` in a child process without root's privileges (user and group 65534 when running as
// root) and returns what it returned. Folders the child must write to have to be writable by it.
std::string RunUnprivileged(const std::function<std::string()>& work);
// Gives the path to the user the unprivileged child runs as, when running as root.
void HandToUnprivilegedUser(const std::string& path);

} // namespace velmora::testkit
