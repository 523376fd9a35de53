#include "HandOverFixture.h"
#include "QtTestSupport.h"
#include "platform/DescriptorLimit.h"
#include "platform/HandOverClient.h"
#include "platform/HandOverFrame.h"
#include "platform/HandOverServer.h"

#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora {
namespace {

using testkit::Application;
using testkit::CapturedQtWarnings;
using testkit::WaitUntil;
using namespace std::chrono_literals;

class HandOverListenerTest : public testkit::HandOverFixture {};

// Starts beyond the bound wait in the backlog and are served, in turn, as
// earlier ones are answered.
TEST_F(HandOverListenerTest, NoMoreConnectionsThanTheBoundAreHeldOpen) {
    auto server = StartServer(HandOverLimits{5s, 2, 1s});
    EXPECT_EQ(server->MaxConnections(), 2u);
    std::vector<std::future<HandOverResult>> starts;
    // Appended rather than added to a literal: GCC 12 at -O3 takes that for an overlapping copy.
    for (int i = 0; i < 5; ++i) {
        starts.push_back(HandOverInThread(std::string("/").append(std::to_string(i)).append(".cue")));
    }
    for (std::size_t answered = 0; answered < 5; ++answered) {
        const std::size_t expected = std::min<std::size_t>(answered + 2, 5);
        ASSERT_TRUE(WaitUntil([&] { return paths_.size() == expected; })) << "answered " << answered;
        WaitUntil([] { return false; }, 100ms);
        EXPECT_EQ(paths_.size(), expected) << "a start got past the bound";
        EXPECT_LE(server->OpenConnections(), 2u);
        pendingDone_[answered]();
    }
    for (auto& start : starts) {
        ASSERT_TRUE(WaitUntil([&] { return Ready(start); }));
        EXPECT_EQ(start.get(), HandOverResult::Delivered);
    }
}

struct LostSocketCase {
    const char* name;
    std::function<void(const std::string& path)> lose;
};

TEST_F(HandOverListenerTest, AServerWhoseSocketGoesAwayListensAgainAndSaysSo) {
    const LostSocketCase cases[] = {
        {"removed",
         [](const std::string& path) {
             std::filesystem::remove(path);
         }},
        {"replaced by a file",
         [](const std::string& path) {
             std::filesystem::remove(path);
             std::ofstream(path) << "x";
         }},
    };
    for (const LostSocketCase& c : cases) {
        SCOPED_TRACE(c.name);
        CapturedQtWarnings warnings;
        auto server = StartServer(HandOverLimits{5s, 8, 50ms}, true);
        c.lose(HandOverSocketPath(Folder()));
        EXPECT_TRUE(WaitUntil([&] {
            auto result = HandOverInThread(std::string("/again.cue"));
            while (!Ready(result))
                WaitUntil([] { return false; }, 10ms);
            return result.get() == HandOverResult::Delivered;
        }));
        EXPECT_TRUE(warnings.Contains("listening again"));
    }
}

// Children that hand a path over with bare system calls, so that they use none
// of this process's descriptors; each exits 0 when its path was answered.
pid_t HandOverChild(const std::string& socketPath, const std::string& frame) {
    const std::string show = EncodeShowNormalFrame();
    const pid_t child = fork();
    if (child != 0) {
        return child;
    }
    // Nothing of the test's own: a child holding the server's end of another connection would keep that
    // start waiting for ever once the test is gone; and no child outlives a stuck test.
    closefrom(3);
    alarm(30);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    char answer = 0;
    const bool ok = fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                    write(fd, frame.data(), frame.size()) == ssize_t(frame.size()) &&
                    read(fd, &answer, 1) == 1 &&
                    write(fd, show.data(), show.size()) == ssize_t(show.size()) && read(fd, &answer, 1) == 1;
    _exit(ok ? 0 : 1);
}

std::size_t OpenDescriptors() {
    std::size_t open = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        ++open;
    }
    return open;
}

// With the bound set above what the process can open, accepting runs out of
// descriptors: the server pauses instead of closing, and every start is served.
TEST_F(HandOverListenerTest, RunningOutOfDescriptorsPausesAcceptingAndNeverStopsListening) {
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizers check memory through a pipe of their own, which this test leaves no descriptor
    // for: they would report the server's sound calls as faults. The plain build runs it.
    GTEST_SKIP() << "needs every descriptor the sanitizers would take";
#endif
    CapturedQtWarnings warnings;
    auto server = StartServer(HandOverLimits{5s, 100, 1s}, true);
    const std::string frame = EncodePathFrame("/many.cue");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit tight = saved;
    tight.rlim_cur = OpenDescriptors() + 3;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
    std::vector<pid_t> children;
    for (int i = 0; i < 12; ++i) {
        children.push_back(HandOverChild(HandOverSocketPath(Folder()), frame));
    }
    std::size_t served = 0;
    WaitUntil([&] {
        for (pid_t& child : children) {
            int status = 0;
            if (child > 0 && waitpid(child, &status, WNOHANG) == child) {
                served += WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 1 : 0;
                child = 0;
            }
        }
        return std::all_of(children.begin(), children.end(), [](pid_t child) { return child == 0; });
    });
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);
    for (pid_t child : children) {
        if (child > 0) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
    }
    EXPECT_EQ(served, children.size());
    EXPECT_EQ(paths_.size(), children.size());
    EXPECT_TRUE(warnings.Contains("Out of file descriptors"));
    auto after = HandOverInThread(std::nullopt);
    ASSERT_TRUE(WaitUntil([&] { return Ready(after); }));
    EXPECT_EQ(after.get(), HandOverResult::Delivered);
}

struct LimitCase {
    const char* name;
    rlim_t soft;
    rlim_t hard;
};

// Run in a child each, so that this process keeps its own limit.
TEST(DescriptorLimitTest, TheSoftLimitIsRaisedToTheHardLimit) {
    const LimitCase cases[] = {
        {"soft below hard", 64, 4096},
        {"soft already at hard", 64, 64},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.name);
        const pid_t child = fork();
        if (child == 0) {
            const rlimit start{c.soft, c.hard};
            rlimit after{};
            const bool ok = setrlimit(RLIMIT_NOFILE, &start) == 0 && RaiseDescriptorLimit() &&
                            getrlimit(RLIMIT_NOFILE, &after) == 0 && after.rlim_cur == c.hard &&
                            after.rlim_max == c.hard;
            _exit(ok ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
}

} // namespace
} // namespace velmora
