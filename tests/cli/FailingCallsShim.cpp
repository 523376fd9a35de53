// Loaded into velmora-fix with LD_PRELOAD: makes the call VELMORA_FAILING_CALL names fail with EIO, so
// that a test sees what the program reports when the disk does not take what it was given.
// "fsync-folder" fails fsync of folders only; "close" fails the close of files open for writing, after
// closing them as a real failing close does; "link" fails making hard links. With VELMORA_SWAP_FOLDER and
// VELMORA_SWAP_TO, the folder is swapped for a link to the other at the first rename, or at the first
// file created when VELMORA_SWAP_AT_CREATE is set. With VELMORA_PAUSE_BEFORE_SYNCFS naming a path, a batch
// stops where its staged files are all written, before it flushes them: it makes "<path>.paused" (holding its
// process id) and waits until the path itself exists, so that a test can run something else in between.
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Failing(const char* call) {
    const char* failing = std::getenv("VELMORA_FAILING_CALL");
    return failing != nullptr && std::strcmp(failing, call) == 0;
}

void PauseIfAsked() {
    const char* resume = std::getenv("VELMORA_PAUSE_BEFORE_SYNCFS");
    if (resume == nullptr) {
        return;
    }
    const std::string paused = std::string(resume) + ".paused";
    // Holds the process's id, so that a test can also kill it there.
    // It is written under another name and renamed, so that a test never reads it half written.
    const std::string pid = std::to_string(::getpid());
    const std::string part = paused + ".part";
    const int marker = ::open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (marker >= 0) {
        const ssize_t written = ::write(marker, pid.data(), pid.size());
        static_cast<void>(written);
        ::close(marker);
        ::rename(part.c_str(), paused.c_str());
    }
    const timespec step{0, 10'000'000};
    while (::access(resume, F_OK) != 0) {
        ::nanosleep(&step, nullptr);
    }
}

int FailWithEio() {
    errno = EIO;
    return -1;
}

template <typename Function> Function Real(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

void SwapFolderOnce(bool creating) {
    if (creating != (std::getenv("VELMORA_SWAP_AT_CREATE") != nullptr)) {
        return;
    }
    static bool swapped = false;
    const char* folder = std::getenv("VELMORA_SWAP_FOLDER");
    const char* to = std::getenv("VELMORA_SWAP_TO");
    if (swapped || folder == nullptr || to == nullptr) {
        return;
    }
    swapped = true;
    const std::string aside = std::string(folder) + ".real";
    if (Real<int (*)(const char*, const char*)>("rename")(folder, aside.c_str()) == 0) {
        ::symlink(to, folder);
    }
}

// The mode an open passes only when it makes a file; the swap asked for at the first file made.
mode_t CreatedMode(int flags, va_list rest) {
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) != 0 ? va_arg(rest, mode_t) : 0;
    if ((flags & O_CREAT) != 0) {
        SwapFolderOnce(true);
    }
    return mode;
}

} // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    va_list rest;
    va_start(rest, flags);
    const mode_t mode = CreatedMode(flags, rest);
    va_end(rest);
    return Real<int (*)(const char*, int, mode_t)>("open")(path, flags, mode);
}

int openat(int folder, const char* path, int flags, ...) {
    va_list rest;
    va_start(rest, flags);
    const mode_t mode = CreatedMode(flags, rest);
    va_end(rest);
    return Real<int (*)(int, const char*, int, mode_t)>("openat")(folder, path, flags, mode);
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) {
    return Failing("link") ? FailWithEio()
                           : Real<int (*)(int, const char*, int, const char*, int)>("linkat")(
                                 fromFolder, from, toFolder, to, flags);
}

int fsync(int fd) {
    struct stat info {};
    if (Failing("fsync") || (Failing("fsync-folder") && ::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode))) {
        return FailWithEio();
    }
    return Real<int (*)(int)>("fsync")(fd);
}

int fdatasync(int fd) {
    return Failing("fdatasync") ? FailWithEio() : Real<int (*)(int)>("fdatasync")(fd);
}

int syncfs(int fd) {
    PauseIfAsked();
    return Failing("syncfs") ? FailWithEio() : Real<int (*)(int)>("syncfs")(fd);
}

int close(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    const int result = Real<int (*)(int)>("close")(fd);
    if (Failing("close") && fd > 2 && flags >= 0 && (flags & O_ACCMODE) != O_RDONLY) {
        return FailWithEio();
    }
    return result;
}

int rename(const char* from, const char* to) {
    SwapFolderOnce(false);
    return Failing("rename") ? FailWithEio() : Real<int (*)(const char*, const char*)>("rename")(from, to);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    return Failing("rename") ? FailWithEio()
                             : Real<int (*)(int, const char*, int, const char*)>("renameat")(fromFolder, from,
                                                                                             toFolder, to);
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags) {
    SwapFolderOnce(false);
    return Failing("rename") ? FailWithEio()
                             : Real<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2")(
                                   fromFolder, from, toFolder, to, flags);
}
}
