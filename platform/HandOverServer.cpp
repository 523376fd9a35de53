#include "platform/HandOverServer.h"

#include "platform/HandOverFrame.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace velmora {

std::string HandOverSocketPath(const std::string& folder) {
    return folder + "/TForm1";
}

namespace {

bool PeerIsCurrentUser(const QLocalSocket& socket) {
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(static_cast<int>(socket.socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return false;
    return peer.uid == geteuid();
}

// One second start's connection: reads frames one at a time and reads no more
// while a frame is being handled.
class Connection : public QObject {
public:
    Connection(QLocalSocket* socket, const HandOverHandler& handler, std::chrono::milliseconds timeout)
        : socket_(socket), handler_(handler) {
        socket_->setParent(this);
        deadline_.setSingleShot(true);
        deadline_.setInterval(timeout);
        connect(&deadline_, &QTimer::timeout, this, &Connection::Drop);
        connect(socket_, &QLocalSocket::readyRead, this, &Connection::ReadFrames);
        connect(socket_, &QLocalSocket::disconnected, this, &QObject::deleteLater);
        deadline_.start();
        ReadFrames();
    }

private:
    void ReadFrames() {
        if (busy_)
            return;
        reader_.Append(socket_->readAll().toStdString());
        if (auto frame = reader_.Next()) {
            Handle(*frame);
            return;
        }
        if (reader_.Failed())
            Drop();
    }

    void Handle(const HandOverFrame& frame) {
        busy_ = true;
        deadline_.stop();
        if (frame.message == WM_SHOWWINDOW) {
            if (handler_.onShowNormal)
                handler_.onShowNormal();
            Answer();
            return;
        }
        if (!handler_.onPath) {
            Answer();
            return;
        }
        QPointer<Connection> self(this);
        handler_.onPath(frame.path, [self] {
            // One read of the guarded pointer: the connection may have gone since the path arrived.
            if (Connection* connection = self.data())
                connection->Answer();
        });
    }

    void Answer() {
        busy_ = false;
        socket_->write(&kFrameAnswer, 1);
        socket_->flush();
        deadline_.start();
        QTimer::singleShot(0, this, &Connection::ReadFrames);
    }

    void Drop() {
        socket_->abort();
        deleteLater();
    }

    QLocalSocket* socket_;
    const HandOverHandler& handler_;
    FrameReader reader_;
    QTimer deadline_;
    bool busy_ = false;
};

} // namespace

class HandOverServer::Impl {
public:
    Impl(std::string folder, HandOverHandler handler, std::chrono::milliseconds timeout)
        : path_(std::move(folder)), handler_(std::move(handler)), timeout_(timeout) {
        path_ = HandOverSocketPath(path_);
        QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] { Accept(); });
    }

    void Listen() {
        const QString name = QString::fromStdString(path_);
        QLocalServer::removeServer(name);
        server_.setSocketOptions(QLocalServer::UserAccessOption);
        if (!server_.listen(name))
            throw std::runtime_error("Impossible d'écouter sur \"" + path_ +
                                     "\" : " + server_.errorString().toStdString());
    }

private:
    void Accept() {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            if (!PeerIsCurrentUser(*socket)) {
                socket->abort();
                socket->deleteLater();
                continue;
            }
            auto* connection = new Connection(socket, handler_, timeout_);
            connection->setParent(&server_);
        }
    }

    std::string path_;
    HandOverHandler handler_;
    std::chrono::milliseconds timeout_;
    QLocalServer server_;
};

HandOverServer::HandOverServer(std::string folder, HandOverHandler handler,
                               std::chrono::milliseconds frameTimeout)
    : impl_(std::make_unique<Impl>(std::move(folder), std::move(handler), frameTimeout)) {}

HandOverServer::~HandOverServer() = default;

void HandOverServer::Listen() {
    impl_->Listen();
}

} // namespace velmora
