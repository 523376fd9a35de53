#include "platform/RuntimeFolder.h"

#include "messages/Messages.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <stdexcept>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velmora {

namespace {

std::runtime_error FolderError(const std::string& path, const std::string& what) {
    return std::runtime_error(Localized("Runtime folder refused \"%s\": %s", {path, what}));
}

std::optional<std::string> PrivateFolderFault(const struct stat& info) {
    if (!S_ISDIR(info.st_mode)) {
        return Localized("it is not a folder");
    }
    if (info.st_uid != geteuid()) {
        return Localized("it belongs to another user");
    }
    if ((info.st_mode & 077) != 0) {
        return Localized("it is open to other users");
    }
    return std::nullopt;
}

bool IsPrivateFolder(const std::string& path) {
    struct stat info {};
    return !path.empty() && path.front() == '/' && lstat(path.c_str(), &info) == 0 &&
           !PrivateFolderFault(info);
}

std::string TempBase() {
    const char* temp = std::getenv("TMPDIR");
    return temp != nullptr && *temp == '/' ? temp : "/tmp";
}

std::string CacheFolder() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && *cache == '/') {
        return std::string(cache) + "/velmora";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home != '/') {
        throw std::runtime_error(Localized("No cache folder: neither XDG_CACHE_HOME nor HOME is set"));
    }
    return std::string(home) + "/.cache/velmora";
}

// Errors show in the checks that follow.
void MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0700);
    }
    mkdir(path.c_str(), 0700);
}

class LockedRecord {
public:
    explicit LockedRecord(const std::string& path) : path_(path) {
        fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd_ < 0) {
            throw FolderError(path, SystemErrorText(errno));
        }
        struct stat info {};
        if (fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid() ||
            (info.st_mode & 077) != 0) {
            close(fd_);
            throw FolderError(path, Localized("the file that holds it is not ours alone"));
        }
        flock(fd_, LOCK_EX);
    }
    ~LockedRecord() { close(fd_); }
    LockedRecord(const LockedRecord&) = delete;
    LockedRecord& operator=(const LockedRecord&) = delete;

    std::string Read() const {
        std::string text(4096, '\0');
        const ssize_t got = pread(fd_, text.data(), text.size(), 0);
        text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        if (const auto end = text.find('\n'); end != std::string::npos) {
            text.resize(end);
        }
        return text;
    }

    void Write(const std::string& folder) const {
        const std::string line = folder + "\n";
        if (ftruncate(fd_, 0) != 0 || pwrite(fd_, line.data(), line.size(), 0) != ssize_t(line.size()) ||
            fsync(fd_) != 0) {
            throw FolderError(path_, SystemErrorText(errno));
        }
    }

private:
    std::string path_;
    int fd_ = -1;
};

// The predictable names can be taken by another user first; a folder of
// mkdtemp's cannot, and the record, read and written under its lock, gives
// every instance of this user the same one.
std::string RecordedPrivateFolder() {
    const std::string cache = CacheFolder();
    MakeFolders(cache);
    struct stat info {};
    if (lstat(cache.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid() ||
        (info.st_mode & 022) != 0) {
        throw FolderError(cache, Localized("the cache folder is not ours alone"));
    }
    const LockedRecord record(cache + "/runtime-folder");
    if (std::string recorded = record.Read(); IsPrivateFolder(recorded)) {
        return recorded;
    }
    std::string pattern = TempBase() + "/velmora-" + std::to_string(geteuid()) + "-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw FolderError(pattern, SystemErrorText(errno));
    }
    record.Write(pattern);
    return pattern;
}

} // namespace

void EnsurePrivateFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        throw FolderError(path, SystemErrorText(errno));
    }
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) {
        throw FolderError(path, SystemErrorText(errno));
    }
    if (const std::optional<std::string> fault = PrivateFolderFault(info)) {
        throw FolderError(path, *fault);
    }
}

RuntimeFolderChoice ChooseRuntimeFolder() {
    RuntimeFolderChoice choice;
    std::vector<std::string> places;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr && *runtime == '/') {
        places.push_back(std::string(runtime) + "/velmora");
    }
    places.push_back(TempBase() + "/velmora-" + std::to_string(geteuid()));
    for (const std::string& place : places) {
        try {
            EnsurePrivateFolder(place);
            choice.Folder = place;
            return choice;
        } catch (const std::exception& error) {
            choice.Refusals += std::string(error.what()) + "\n";
        }
    }
    try {
        choice.Folder = RecordedPrivateFolder();
    } catch (const std::exception& error) {
        choice.Refusals += std::string(error.what()) + "\n";
    }
    return choice;
}

std::string RuntimeFolder() {
    RuntimeFolderChoice choice = ChooseRuntimeFolder();
    if (!choice.Folder) {
        throw std::runtime_error(choice.Refusals);
    }
    return *choice.Folder;
}

} // namespace velmora
