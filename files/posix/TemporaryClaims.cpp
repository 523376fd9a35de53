#include "files/StaleTemporaries.h"
#include "files/TemporaryNames.h"

#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace velmora {
namespace {

// The coarse clock is the one file times are taken from, so a file made after this moment is never
// dated before it.
const timespec kProcessStart = [] {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &now);
    return now;
}();

bool OlderThanThisProcess(const struct stat& info) {
    return info.st_mtim.tv_sec < kProcessStart.tv_sec ||
           (info.st_mtim.tv_sec == kProcessStart.tv_sec && info.st_mtim.tv_nsec < kProcessStart.tv_nsec);
}

// Removes our user's hidden temporaries older than this process from the open folder `folder`.
void SweepOpenFolder(int folder) {
    const int listing = ::dup(folder);
    DIR* directory = listing < 0 ? nullptr : ::fdopendir(listing);
    if (directory == nullptr) {
        if (listing >= 0) {
            ::close(listing);
        }
        return;
    }
    const uid_t user = ::geteuid();
    while (const dirent* entry = ::readdir(directory)) {
        const std::string name = entry->d_name;
        if (!IsTemporaryName(name)) {
            continue;
        }
        struct stat info {};
        if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode) &&
            info.st_uid == user && OlderThanThisProcess(info)) {
            ::unlinkat(folder, name.c_str(), 0);
        }
    }
    ::closedir(directory);
}

// The folders this process holds claims on: one open description of each, locked shared while any
// claim on it lives, so that one descriptor serves every temporary of a batch in that folder.
struct HeldFolder {
    int Descriptor = -1;
    std::size_t Claims = 0;
};

std::mutex guard;
std::map<std::string, HeldFolder> held;

void Hold(const std::string& folder) {
    const std::lock_guard<std::mutex> lock(guard);
    HeldFolder& entry = held[folder];
    if (entry.Claims++ > 0) {
        return;
    }
    // A folder we cannot open for reading cannot be listed either, so no sweep can reach it.
    entry.Descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (entry.Descriptor < 0) {
        return;
    }
    if (FirstSweepOf(folder) && ::flock(entry.Descriptor, LOCK_EX | LOCK_NB) == 0) {
        SweepOpenFolder(entry.Descriptor);
    }
    // Turns the sweep's lock into a shared one, or waits for another run's sweep to end. Where the file
    // system has no locks, no run can take the lock alone either, so none sweeps.
    while (::flock(entry.Descriptor, LOCK_SH) != 0 && errno == EINTR) {
    }
}

void Release(const std::string& folder) {
    const std::lock_guard<std::mutex> lock(guard);
    const auto entry = held.find(folder);
    if (entry == held.end() || --entry->second.Claims > 0) {
        return;
    }
    if (entry->second.Descriptor >= 0) {
        ::close(entry->second.Descriptor);
    }
    held.erase(entry);
}

} // namespace

TemporaryFolderClaim::TemporaryFolderClaim(const std::string& folder) : folder_(folder) {
    Hold(folder_);
}

TemporaryFolderClaim::~TemporaryFolderClaim() {
    if (!folder_.empty()) {
        Release(folder_);
    }
}

TemporaryFolderClaim::TemporaryFolderClaim(TemporaryFolderClaim&& other) noexcept
    : folder_(std::exchange(other.folder_, {})) {}

void SweepStaleTemporaries(const std::string& folder) {
    const TemporaryFolderClaim claim(folder);
}

} // namespace velmora
