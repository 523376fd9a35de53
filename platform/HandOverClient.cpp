#include "platform/HandOverClient.h"

#include "platform/HandOverFrame.h"
#include "platform/HandOverServer.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace velmora {

namespace {

bool SocketIsOurs(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode) && info.st_uid == geteuid();
}

// A blocking connection: while the running instance is busy, the kernel keeps
// this start waiting in the socket's backlog.
int Connect(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return -1;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    int result = 0;
    do {
        result = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Sends one frame and blocks until the receiver answers it or goes away.
bool Exchange(int fd, const std::string& frame) {
    for (std::size_t sent = 0; sent < frame.size();) {
        const ssize_t written = send(fd, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(written);
    }
    char answer = 0;
    ssize_t got = 0;
    do {
        got = recv(fd, &answer, 1, 0);
    } while (got < 0 && errno == EINTR);
    return got == 1 && answer == kFrameAnswer;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

HandOverResult HandOver(const std::string& folder, const std::optional<std::string>& path) {
    const std::string socketPath = HandOverSocketPath(folder);
    if (!SocketIsOurs(socketPath)) {
        return HandOverResult::NoWindow;
    }
    const Descriptor socket(Connect(socketPath));
    if (socket.get() < 0) {
        return HandOverResult::NoWindow;
    }
    if (path && !Exchange(socket.get(), EncodePathFrame(*path))) {
        return HandOverResult::Broken;
    }
    // Once the path's run is answered the sheet is repaired, whether or not the window can still be shown.
    if (!Exchange(socket.get(), EncodeShowNormalFrame()) && !path) {
        return HandOverResult::Broken;
    }
    return HandOverResult::Delivered;
}

} // namespace velmora
