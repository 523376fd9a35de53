#include "QtTestSupport.h"
#include "platform/HandOverClient.h"
#include "platform/HandOverFrame.h"
#include "platform/HandOverServer.h"

#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <future>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace velmora {
namespace {

using testkit::Application;
using testkit::WaitUntil;
using namespace std::chrono_literals;

// What a misbehaving peer sends: its bytes in slices, with a pause after each.
struct PeerScript {
    const char* name;
    std::vector<std::string> slices;
    std::chrono::milliseconds pause;
};

// Plays the script on its own socket, then waits for the server to close the connection. `closedAfter`
// is how long that took from the first byte, or nothing when the server never closed it.
std::optional<std::chrono::milliseconds> PlayPeer(const std::string& socketPath, const PeerScript& script) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    if (fd < 0 || ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& slice : script.slices) {
        if (::send(fd, slice.data(), slice.size(), MSG_NOSIGNAL) < 0) {
            break;
        }
        std::this_thread::sleep_for(script.pause);
    }
    const timeval wait{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    char byte = 0;
    ssize_t got = 0;
    while ((got = ::recv(fd, &byte, 1, 0)) > 0) {
    }
    const bool closed = got == 0 || errno == ECONNRESET;
    ::close(fd);
    if (!closed) {
        return std::nullopt;
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
}

std::vector<std::string> OneByteEach(const std::string& bytes) {
    std::vector<std::string> slices;
    for (char c : bytes) {
        slices.emplace_back(1, c);
    }
    return slices;
}

std::string Garbage(std::size_t size) {
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random());
    }
    return bytes;
}

std::string LyingLength() {
    std::string frame = EncodePathFrame("/ten/b.cue");
    frame[4] = static_cast<char>(0xE8); // 1000 bytes announced, 10 sent
    frame[5] = 0x03;
    return frame;
}

// A peer that stalls, lies about its length or floods the socket is dropped within the frame time
// limit, never has a path handed over, and a good sender meanwhile is served.
TEST(HandOverPeer, MisbehavingPeersAreDroppedAndOthersServed) {
    Application();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string runtime = folder.path().toStdString();
    std::vector<std::string> paths;
    HandOverHandler handler;
    handler.OnPath = [&paths](const std::string& path, std::function<void()> done) {
        paths.push_back(path);
        done();
    };
    handler.OnShowNormal = [] {
    };
    constexpr auto kFrameTimeout = 500ms;
    HandOverServer server(runtime, std::move(handler),
                          HandOverLimits{kFrameTimeout, 0, std::chrono::seconds(1)});
    server.Listen();

    const PeerScript scripts[] = {
        {"one byte a second", OneByteEach(EncodePathFrame("/slow/a.cue")), 1000ms},
        {"a length that lies", {LyingLength()}, 0ms},
        {"1 MB of garbage", {Garbage(1 << 20)}, 0ms},
        {"a good frame, then 1 MB of garbage", {EncodePathFrame("/first.cue") + Garbage(1 << 20)}, 0ms},
    };
    for (const PeerScript& script : scripts) {
        SCOPED_TRACE(script.name);
        paths.clear();
        auto peer = std::async(std::launch::async, PlayPeer, HandOverSocketPath(runtime), script);
        auto good =
            std::async(std::launch::async, [runtime] { return HandOver(runtime, std::string("/good.cue")); });
        ASSERT_TRUE(WaitUntil([&] { return good.wait_for(0s) == std::future_status::ready; }));
        EXPECT_EQ(good.get(), HandOverResult::Delivered);
        ASSERT_TRUE(WaitUntil([&] { return peer.wait_for(0s) == std::future_status::ready; }, 15s));
        const std::optional<std::chrono::milliseconds> closedAfter = peer.get();
        ASSERT_TRUE(closedAfter.has_value()) << "the peer was never dropped";
        EXPECT_LT(*closedAfter, 4s);
        EXPECT_NE(std::find(paths.begin(), paths.end(), "/good.cue"), paths.end());
        for (const std::string& path : paths) {
            EXPECT_TRUE(path == "/good.cue" || path == "/first.cue") << path;
        }
    }
}

} // namespace
} // namespace velmora
