#include "platform/HandOverServer.h"

#include "messages/Messages.h"
#include "platform/HandOverFrame.h"

#include <QLoggingCategory>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(handOverLog, "velmora.handover", QtInfoMsg)

namespace velmora {

std::string HandOverSocketPath(const std::string& folder) {
    return folder + "/TForm1";
}

namespace {

constexpr std::size_t kMostConnections = 512;
constexpr std::chrono::milliseconds kDescriptorPause{100};

bool PeerIsCurrentUser(int fd) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0) {
        return false;
    }
    return peer.uid == geteuid();
}

// Half of the descriptors still free, so that a run and its dialogs keep room
// to open files while many second starts wait.
std::size_t DescriptorShare() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return kMostConnections;
    }
    std::error_code error;
    std::size_t open = 0;
    for (std::filesystem::directory_iterator it("/proc/self/fd", error), end; !error && it != end;
         it.increment(error)) {
        ++open;
    }
    const std::size_t soft = limit.rlim_cur;
    const std::size_t free = soft > open ? soft - open : 0;
    return std::clamp<std::size_t>(free / 2, 1, kMostConnections);
}

struct SocketIdentity {
    dev_t Device = 0;
    ino_t Inode = 0;
    bool operator==(const SocketIdentity&) const = default;
};

std::optional<SocketIdentity> IdentityOf(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode)) {
        return std::nullopt;
    }
    return SocketIdentity{info.st_dev, info.st_ino};
}

std::runtime_error ListenError(const std::string& path, const std::string& why) {
    return std::runtime_error(Localized("Cannot listen on \"%s\": %s", {path, why}));
}

int OpenListeningSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        throw ListenError(path, SystemErrorText(ENAMETOOLONG));
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    if (unlink(path.c_str()) != 0 && errno != ENOENT) {
        throw ListenError(path, SystemErrorText(errno));
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        throw ListenError(path, SystemErrorText(errno));
    }
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        chmod(path.c_str(), 0600) != 0 || listen(fd, SOMAXCONN) != 0) {
        const int error = errno;
        close(fd);
        throw ListenError(path, SystemErrorText(error));
    }
    return fd;
}

// One second start's connection on its own descriptor, which it closes: reads frames one at a time
// and handles no more while a frame is being handled. Bytes that arrive meanwhile are kept, up to one
// frame's worth, and reading on means a sender that goes away is noticed at once.
class Connection : public QObject {
public:
    Connection(int fd, const HandOverHandler& handler, std::chrono::milliseconds timeout)
        : fd_(fd), readable_(fd, QSocketNotifier::Read), handler_(handler) {
        deadline_.setSingleShot(true);
        deadline_.setInterval(timeout);
        connect(&deadline_, &QTimer::timeout, this, &Connection::Drop);
        connect(&readable_, &QSocketNotifier::activated, this, &Connection::Receive);
        deadline_.start();
    }

    ~Connection() override {
        readable_.setEnabled(false);
        close(fd_);
    }

    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

private:
    static constexpr std::size_t kMostHeldBytes = kFrameHeaderSize + kMaxHandOverPath;

    void Receive() {
        char bytes[4096];
        for (;;) {
            const ssize_t got = recv(fd_, bytes, sizeof bytes, 0);
            if (got > 0) {
                reader_.Append(std::string_view(bytes, static_cast<std::size_t>(got)));
                if (busy_ && reader_.Buffered() > kMostHeldBytes) {
                    Drop();
                    return;
                }
                continue;
            }
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0 && errno == EAGAIN) {
                break;
            }
            // The sender closed its end or the connection failed: a frame it finished first still counts.
            ReadFrames();
            Drop();
            return;
        }
        ReadFrames();
        // A sender sends one frame and waits for its answer: more than a frame's worth behind it is a flood.
        if (busy_ && reader_.Buffered() > kMostHeldBytes) {
            Drop();
        }
    }

    void ReadFrames() {
        if (busy_) {
            return;
        }
        if (auto frame = reader_.Next()) {
            Handle(*frame);
            return;
        }
        if (reader_.Failed()) {
            Drop();
        }
    }

    void Handle(const HandOverFrame& frame) {
        busy_ = true;
        deadline_.stop();
        if (frame.Message == WM_SHOWWINDOW) {
            if (handler_.OnShowNormal) {
                handler_.OnShowNormal();
            }
            Answer();
            return;
        }
        if (!handler_.OnPath) {
            Answer();
            return;
        }
        qCDebug(handOverLog) << "received" << frame.Path.c_str();
        QPointer<Connection> self(this);
        handler_.OnPath(frame.Path, [self, path = frame.Path] {
            // One read of the guarded pointer: the connection may have gone since the path arrived.
            if (Connection* connection = self.data()) {
                connection->Answer();
                qCDebug(handOverLog) << "answered" << path.c_str();
            }
        });
    }

    // The sender has sent one frame and waits for its one-byte answer before it sends more, so the
    // answer always finds room in the socket's buffer; a sender that cannot take it is dropped.
    void Answer() {
        busy_ = false;
        ssize_t sent = 0;
        do {
            sent = send(fd_, &kFrameAnswer, 1, MSG_NOSIGNAL);
        } while (sent < 0 && errno == EINTR);
        if (sent != 1) {
            Drop();
            return;
        }
        deadline_.start();
        QTimer::singleShot(0, this, &Connection::ReadFrames);
    }

    void Drop() {
        readable_.setEnabled(false);
        deadline_.stop();
        deleteLater();
    }

    int fd_;
    QSocketNotifier readable_;
    const HandOverHandler& handler_;
    FrameReader reader_;
    QTimer deadline_;
    bool busy_ = false;
};

} // namespace

class HandOverServer::Impl {
public:
    Impl(const std::string& folder, HandOverHandler handler, HandOverLimits limits)
        : path_(HandOverSocketPath(folder)), handler_(std::move(handler)), limits_(limits) {
        pause_.setSingleShot(true);
        QObject::connect(&pause_, &QTimer::timeout, &owner_, [this] {
            outOfDescriptors_ = false;
            Accept();
        });
        QObject::connect(&watch_, &QTimer::timeout, &owner_, [this] { Watch(); });
    }

    ~Impl() {
        // A socket left behind would only make the next starts try it first.
        if (fd_ >= 0 && identity_ && IdentityOf(path_) == identity_) {
            unlink(path_.c_str());
        }
        StopListening();
    }

    void Listen() {
        maxConnections_ = limits_.MaxConnections != 0 ? limits_.MaxConnections : DescriptorShare();
        StartListening();
        watch_.start(limits_.WatchInterval);
    }

    std::size_t OpenConnections() const { return open_; }
    std::size_t MaxConnections() const { return maxConnections_; }

private:
    void StartListening() {
        fd_ = OpenListeningSocket(path_);
        identity_ = IdentityOf(path_);
        notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, &owner_, [this] { Accept(); });
        UpdateNotifier();
    }

    void StopListening() {
        notifier_.reset();
        if (fd_ >= 0) {
            close(fd_);
        }
        fd_ = -1;
    }

    void ListenAgain(const char* why) {
        qCWarning(handOverLog, "The hand-over socket %s stopped listening (%s); listening again",
                  path_.c_str(), why);
        StopListening();
        try {
            StartListening();
        } catch (const std::exception& error) {
            // The watch tries again on its next round.
            qCWarning(handOverLog, "%s", error.what());
        }
    }

    // A socket that another process removed or replaced no longer reaches us.
    void Watch() {
        if (fd_ < 0) {
            ListenAgain("no socket");
        } else if (!identity_ || IdentityOf(path_) != identity_) {
            ListenAgain("its file is gone");
        }
    }

    void Accept() {
        while (fd_ >= 0 && open_ < maxConnections_ && !outOfDescriptors_) {
            const int fd = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd < 0) {
                if (errno == EINTR || errno == ECONNABORTED) {
                    continue;
                }
                if (errno == EAGAIN) {
                    break;
                }
                if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                    PauseForDescriptors();
                    break;
                }
                ListenAgain(std::strerror(errno));
                return;
            }
            Adopt(fd);
        }
        UpdateNotifier();
    }

    void Adopt(int fd) {
        if (!PeerIsCurrentUser(fd)) {
            close(fd);
            return;
        }
        descriptorsLogged_ = false;
        ++open_;
        auto* connection = new Connection(fd, handler_, limits_.FrameTimeout);
        connection->setParent(&owner_);
        QObject::connect(connection, &QObject::destroyed, &owner_, [this] {
            --open_;
            outOfDescriptors_ = false;
            QTimer::singleShot(0, &owner_, [this] { Accept(); });
        });
    }

    // The starts wait in the backlog meanwhile; a closing connection or the
    // timer gives the accepting back.
    void PauseForDescriptors() {
        if (!descriptorsLogged_) {
            qCWarning(handOverLog, "Out of file descriptors with %zu hand-over connections open; pausing",
                      open_);
        }
        descriptorsLogged_ = true;
        outOfDescriptors_ = true;
        pause_.start(kDescriptorPause);
    }

    void UpdateNotifier() {
        if (notifier_) {
            notifier_->setEnabled(open_ < maxConnections_ && !outOfDescriptors_);
        }
    }

    std::string path_;
    HandOverHandler handler_;
    HandOverLimits limits_;
    std::size_t maxConnections_ = 1;
    std::size_t open_ = 0;
    bool outOfDescriptors_ = false;
    bool descriptorsLogged_ = false;
    int fd_ = -1;
    std::optional<SocketIdentity> identity_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer pause_;
    QTimer watch_;
    // Last, so that connections go before the rest of the server.
    QObject owner_;
};

HandOverServer::HandOverServer(const std::string& folder, HandOverHandler handler, HandOverLimits limits)
    : impl_(std::make_unique<Impl>(folder, std::move(handler), limits)) {}

HandOverServer::~HandOverServer() = default;

void HandOverServer::Listen() {
    impl_->Listen();
}

std::size_t HandOverServer::OpenConnections() const {
    return impl_->OpenConnections();
}

std::size_t HandOverServer::MaxConnections() const {
    return impl_->MaxConnections();
}

} // namespace velmora
