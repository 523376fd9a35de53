#include "platform/HandOverServer.h"

#include "HandOverFixture.h"
#include "QtTestSupport.h"
#include "platform/HandOverClient.h"
#include "platform/HandOverFrame.h"

#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <future>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace velmora {
namespace {

using testkit::Application;
using testkit::WaitUntil;
using namespace std::chrono_literals;

class HandOverServerTest : public testkit::HandOverFixture {
protected:
    std::unique_ptr<HandOverServer> StartServer(std::chrono::milliseconds frameTimeout = 5s) {
        return HandOverFixture::StartServer(HandOverLimits{frameTimeout, 0, std::chrono::seconds(1)});
    }
};

TEST_F(HandOverServerTest, TheSenderWaitsUntilTheRunHasEndedThenAsksForTheWindow) {
    auto server = StartServer();
    auto result = HandOverInThread(std::string("/music/a b.cue"));
    ASSERT_TRUE(WaitUntil([&] { return paths_.size() == 1; }));
    EXPECT_EQ(paths_[0], "/music/a b.cue");
    WaitUntil([&] { return Ready(result); }, 300ms);
    EXPECT_FALSE(Ready(result)) << "the sender went on before the run ended";
    EXPECT_EQ(showCount_, 0);
    pendingDone_[0]();
    ASSERT_TRUE(WaitUntil([&] { return Ready(result); }));
    EXPECT_EQ(result.get(), HandOverResult::Delivered);
    EXPECT_EQ(showCount_, 1);
}

TEST_F(HandOverServerTest, WithoutAPathOnlyTheWindowIsShown) {
    auto server = StartServer();
    auto result = HandOverInThread(std::nullopt);
    ASSERT_TRUE(WaitUntil([&] { return Ready(result); }));
    EXPECT_EQ(result.get(), HandOverResult::Delivered);
    EXPECT_TRUE(paths_.empty());
    EXPECT_EQ(showCount_, 1);
}

struct BadFrameCase {
    const char* name;
    std::string bytes;
};

// Each bad sender is dropped, and a good sender that comes meanwhile is
// served: the window never waits on a bad one.
TEST_F(HandOverServerTest, BadFramesAreDroppedWithoutBlockingOthers) {
    std::string oversized = EncodePathFrame("x");
    oversized[4] = oversized[5] = oversized[6] = '\x7F';
    const BadFrameCase cases[] = {
        {"unknown message", std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\x0B\x0C", 12)},
        {"oversized path", oversized},
        {"never completes", EncodePathFrame("/a.cue").substr(0, 9)},
        {"nothing at all", ""},
    };
    auto server = StartServer(300ms);
    for (const BadFrameCase& c : cases) {
        SCOPED_TRACE(c.name);
        QLocalSocket bad;
        bad.connectToServer(QString::fromStdString(HandOverSocketPath(Folder())));
        ASSERT_TRUE(WaitUntil([&] { return bad.state() == QLocalSocket::ConnectedState; }));
        bad.write(c.bytes.data(), static_cast<qint64>(c.bytes.size()));
        bad.flush();

        const auto before = paths_.size();
        auto good = HandOverInThread(std::string("/good.cue"));
        ASSERT_TRUE(WaitUntil([&] { return paths_.size() == before + 1; }));
        pendingDone_.back()();
        ASSERT_TRUE(WaitUntil([&] { return Ready(good); }));
        EXPECT_EQ(good.get(), HandOverResult::Delivered);

        EXPECT_TRUE(WaitUntil([&] { return bad.state() == QLocalSocket::UnconnectedState; }, 3s));
        EXPECT_EQ(paths_.back(), "/good.cue");
    }
}

TEST_F(HandOverServerTest, AnswerAfterTheServerIsGoneIsHarmlessAndTheSenderSeesTheBreak) {
    auto server = StartServer();
    auto result = HandOverInThread(std::string("/a.cue"));
    ASSERT_TRUE(WaitUntil([&] { return paths_.size() == 1; }));
    server.reset();
    pendingDone_[0]();
    ASSERT_TRUE(WaitUntil([&] { return Ready(result); }));
    EXPECT_EQ(result.get(), HandOverResult::Broken);
}

// A raw sender: connects, sends the bytes, and hangs up when told to; else the caller reads its end.
int SendRaw(const std::string& socketPath, const std::string& bytes) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            break;
        }
        sent += static_cast<std::size_t>(n);
    }
    return fd;
}

bool ClosedByServer(int fd) {
    char byte = 0;
    const ssize_t got = recv(fd, &byte, 1, MSG_DONTWAIT);
    return got == 0 || (got < 0 && errno == ECONNRESET);
}

TEST_F(HandOverServerTest, ASenderThatFloodsWhileItsPathIsRepairedIsDroppedAndTheRunGoesOn) {
    auto server = StartServer();
    std::string flood = EncodePathFrame("/flood.cue");
    flood += std::string(kFrameHeaderSize + kMaxHandOverPath + 1, 'x');
    std::future<int> sender = std::async(std::launch::async, SendRaw, HandOverSocketPath(Folder()), flood);
    ASSERT_TRUE(WaitUntil([&] { return paths_.size() == 1; }));
    const int fd = sender.get();
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(WaitUntil([&] { return ClosedByServer(fd); }, 3s))
        << "the flood was held while the run went on";
    close(fd);
    pendingDone_[0]();
    auto good = HandOverInThread(std::nullopt);
    ASSERT_TRUE(WaitUntil([&] { return Ready(good); }));
    EXPECT_EQ(good.get(), HandOverResult::Delivered);
}

TEST_F(HandOverServerTest, APathSentJustBeforeTheSenderHangsUpIsStillRepaired) {
    auto server = StartServer();
    const int fd = SendRaw(HandOverSocketPath(Folder()), EncodePathFrame("/gone/a.cue"));
    ASSERT_GE(fd, 0);
    close(fd);
    ASSERT_TRUE(WaitUntil([&] { return paths_.size() == 1; }));
    EXPECT_EQ(paths_[0], "/gone/a.cue");
    pendingDone_[0]();
    EXPECT_TRUE(WaitUntil([&] { return server->OpenConnections() == 0; }));
}

void MakeStaleSocket(const std::string& path) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof address.sun_path);
    path.copy(address.sun_path, path.size());
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(fd);
}

TEST_F(HandOverServerTest, AStaleSocketMeansNoWindowAndIsReplacedByTheNextServer) {
    const std::string path = HandOverSocketPath(Folder());
    MakeStaleSocket(path);
    auto nobody = HandOverInThread(std::string("/a.cue"));
    ASSERT_TRUE(WaitUntil([&] { return Ready(nobody); }));
    EXPECT_EQ(nobody.get(), HandOverResult::NoWindow);

    auto server = StartServer();
    auto result = HandOverInThread(std::nullopt);
    ASSERT_TRUE(WaitUntil([&] { return Ready(result); }));
    EXPECT_EQ(result.get(), HandOverResult::Delivered);
}

TEST_F(HandOverServerTest, NoSocketMeansNoWindow) {
    auto result = HandOverInThread(std::string("/a.cue"));
    ASSERT_TRUE(WaitUntil([&] { return Ready(result); }));
    EXPECT_EQ(result.get(), HandOverResult::NoWindow);
}

TEST_F(HandOverServerTest, ASocketOfAnotherOwnerIsRefused) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "giving a socket to another user needs root";
    }
    auto server = StartServer();
    ASSERT_EQ(chown(HandOverSocketPath(Folder()).c_str(), 65534, 65534), 0);
    auto result = HandOverInThread(std::string("/a.cue"));
    ASSERT_TRUE(WaitUntil([&] { return Ready(result); }));
    EXPECT_EQ(result.get(), HandOverResult::NoWindow);
    EXPECT_TRUE(paths_.empty());
}

} // namespace
} // namespace velmora
