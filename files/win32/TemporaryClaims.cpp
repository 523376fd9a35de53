#include "files/StaleTemporaries.h"
#include "files/win32/HeldTemporaries.h"

#include <map>
#include <mutex>
#include <utility>

namespace velmora {
namespace {

std::mutex guard;
// How many claims each folder has, and the temporaries held open in it.
std::map<std::string, std::size_t> claims;
std::map<std::pair<std::string, std::string>, HANDLE> held;

} // namespace

void HoldTemporary(const std::string& folder, const std::string& name, WinHandle file) {
    const std::lock_guard<std::mutex> lock(guard);
    HANDLE& entry = held[{folder, name}];
    if (entry != nullptr) {
        CloseHandle(entry);
    }
    entry = file.Release();
}

HANDLE HeldTemporary(const std::string& folder, const std::string& name) {
    const std::lock_guard<std::mutex> lock(guard);
    const auto entry = held.find({folder, name});
    return entry == held.end() ? nullptr : entry->second;
}

void LetGoOfTemporary(const std::string& folder, const std::string& name) {
    const std::lock_guard<std::mutex> lock(guard);
    const auto entry = held.find({folder, name});
    if (entry != held.end()) {
        CloseHandle(entry->second);
        held.erase(entry);
    }
}

TemporaryFolderClaim::TemporaryFolderClaim(const std::string& folder) : folder_(folder) {
    SweepStaleTemporaries(folder_);
    const std::lock_guard<std::mutex> lock(guard);
    ++claims[folder_];
}

TemporaryFolderClaim::~TemporaryFolderClaim() {
    if (folder_.empty()) {
        return;
    }
    const std::lock_guard<std::mutex> lock(guard);
    if (--claims[folder_] > 0) {
        return;
    }
    claims.erase(folder_);
    // What the run left neither renamed nor removed becomes a stale temporary that a later sweep takes.
    for (auto entry = held.lower_bound({folder_, {}});
         entry != held.end() && entry->first.first == folder_;) {
        CloseHandle(entry->second);
        entry = held.erase(entry);
    }
}

TemporaryFolderClaim::TemporaryFolderClaim(TemporaryFolderClaim&& other) noexcept
    : folder_(std::exchange(other.folder_, {})) {}

} // namespace velmora
