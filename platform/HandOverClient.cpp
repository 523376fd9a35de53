#include "platform/HandOverClient.h"

#include "platform/HandOverFrame.h"
#include "platform/HandOverServer.h"

#include <QLocalSocket>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

bool SocketIsOurs(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode) && info.st_uid == geteuid();
}

// Sends one frame and blocks until the receiver answers it or goes away.
bool Exchange(QLocalSocket& socket, const std::string& frame) {
    socket.write(frame.data(), static_cast<qint64>(frame.size()));
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(-1))
            return false;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(-1))
            return false;
    char answer = 0;
    return socket.getChar(&answer) && answer == kFrameAnswer;
}

} // namespace

HandOverResult HandOver(const std::string& folder, const std::optional<std::string>& path) {
    const std::string socketPath = HandOverSocketPath(folder);
    if (!SocketIsOurs(socketPath))
        return HandOverResult::NoWindow;
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(socketPath));
    if (!socket.waitForConnected())
        return HandOverResult::NoWindow;
    if (path && !Exchange(socket, EncodePathFrame(*path)))
        return HandOverResult::Broken;
    if (!Exchange(socket, EncodeShowNormalFrame()))
        return HandOverResult::Broken;
    return HandOverResult::Delivered;
}

} // namespace velmora
