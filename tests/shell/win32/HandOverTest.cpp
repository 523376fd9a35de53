#include "PeerProcess.h"
#include "shell/win32/HandOverProtocol.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>
#include <windows.h>

namespace velmora {
namespace {

namespace fs = std::filesystem;

const fs::path kPeerProgram = L"handover_peer.exe";

class HandOverTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temporary[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temporary);
        folder_ = fs::path(temporary) / (L"velmora-handover-" + std::to_wstring(GetCurrentProcessId()) +
                                         L"-" + std::to_wstring(++counter_));
        fs::create_directories(folder_);
        log_ = folder_ / L"holder.log";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    std::unique_ptr<Peer> Start(const std::wstring& mode, const std::wstring& more = L"") {
        auto peer =
            std::make_unique<Peer>(kPeerProgram, mode + L" \"" + log_.wstring() + L"\" " + more, folder_);
        EXPECT_TRUE(WaitForLine("ready")) << "the " << fs::path(mode).string() << " peer did not start";
        return peer;
    }
    // Whether the line appeared in the log within 30 seconds.
    bool WaitForLine(const std::string& wanted) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!HasLine(wanted) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return HasLine(wanted);
    }
    bool HasLine(const std::string& wanted) const {
        for (const std::string& line : Lines(log_)) {
            if (line == wanted) {
                return true;
            }
        }
        return false;
    }

    static inline int counter_ = 0;
    fs::path folder_;
    fs::path log_;
};

TEST_F(HandOverTest, WithoutAHolderTheStartTakesTheMutexAndASecondHolderIsRefused) {
    EXPECT_EQ(Peer(kPeerProgram, L"start", folder_).Wait(), 2);
    const auto holder = Start(L"holder", L"0");
    EXPECT_EQ(
        Peer(kPeerProgram, L"holder \"" + (folder_ / L"second.log").wstring() + L"\" 0", folder_).Wait(), 3);
}

struct ArgumentsCase {
    std::wstring arguments;
    // The lines the holder writes after "ready"; the folder's path stands for "<folder>".
    std::vector<std::string> runLines;
};

TEST_F(HandOverTest, TheOneArgumentIsRunAndTheWindowShownBeforeTheStartEnds) {
    const std::vector<ArgumentsCase> cases = {
        {L"", {}},
        {L"a.cue b.cue", {}},
        {L"\"C:\\Musique\\Björk — 東京.cue\"",
         {"begin C:\\Musique\\Björk — 東京.cue", "end C:\\Musique\\Björk — 東京.cue"}},
        {L"\"a b.cue\"", {"begin <folder>\\a b.cue", "end <folder>\\a b.cue"}},
    };
    for (const ArgumentsCase& testCase : cases) {
        fs::remove(log_);
        const auto holder = Start(L"holder", L"300");
        const HWND window = FindWindowW(kMainWindowClass, nullptr);
        ASSERT_NE(window, nullptr);
        ASSERT_FALSE(IsWindowVisible(window));

        EXPECT_EQ(Peer(kPeerProgram, L"start " + testCase.arguments, folder_).Wait(), 0);
        std::vector<std::string> expected = {"ready"};
        for (std::string line : testCase.runLines) {
            if (const auto at = line.find("<folder>"); at != std::string::npos) {
                line.replace(at, 8, folder_.string());
            }
            expected.push_back(line);
        }
        EXPECT_EQ(Lines(log_), expected);
        EXPECT_TRUE(IsWindowVisible(window));
    }
}

TEST_F(HandOverTest, AForeignWindowOfTheSameClassIsPassedOver) {
    const auto holder = Start(L"holder", L"0");
    const fs::path foreignLog = log_;
    log_ = folder_ / L"foreign.log";
    const auto foreign = Start(L"foreign");
    log_ = foreignLog;
    // The foreign window is the newest, so the first that FindWindow meets.
    ASSERT_NE(FindWindowExW(nullptr, nullptr, kMainWindowClass, nullptr), nullptr);

    EXPECT_EQ(Peer(kPeerProgram, L"start sheet.cue", folder_).Wait(), 0);
    EXPECT_TRUE(HasLine("end " + (folder_ / "sheet.cue").string()));
}

TEST_F(HandOverTest, WithOnlyAForeignWindowTheStartGivesUpWithAMessage) {
    const auto mutex = Start(L"mutex");
    log_ = folder_ / L"foreign.log";
    const auto foreign = Start(L"foreign");
    SetEnvironmentVariableW(L"VELMORA_HANDOVER_PATIENCE", L"1");
    const fs::path errors = folder_ / L"errors.txt";
    const int status = Peer(kPeerProgram, L"start sheet.cue", folder_, errors).Wait();
    SetEnvironmentVariableW(L"VELMORA_HANDOVER_PATIENCE", nullptr);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(ReadAll(errors), "velmora: the running Velmora did not take hand-overs within 1000 ms; \"" +
                                   (folder_ / "sheet.cue").string() + "\" was not repaired\r\n");
}

// Hand-overs that arrive while a run pumps messages wait for it: no run starts inside another, and each
// start ends only when its own run is over.
TEST_F(HandOverTest, ABusyWindowRunsTheHandOversOneAfterTheOther) {
    const auto holder = Start(L"holder", L"1500");
    Peer first(kPeerProgram, L"start first.cue", folder_);
    const std::string firstPath = (folder_ / "first.cue").string();
    const std::string secondPath = (folder_ / "second.cue").string();
    ASSERT_TRUE(WaitForLine("begin " + firstPath));
    Peer second(kPeerProgram, L"start second.cue", folder_);
    EXPECT_EQ(second.Wait(std::chrono::milliseconds(500)), -1);
    EXPECT_EQ(first.Wait(), 0);
    EXPECT_EQ(second.Wait(), 0);
    EXPECT_EQ(Lines(log_), (std::vector<std::string>{"ready", "begin " + firstPath, "end " + firstPath,
                                                     "begin " + secondPath, "end " + secondPath}));
}

// A window that dies during the run sends the start back to the beginning, where it takes the mutex.
TEST_F(HandOverTest, AWindowThatDiesInTheRunLeavesTheMutexToTheStart) {
    Peer holder(kPeerProgram, L"holder \"" + log_.wstring() + L"\" 60000", folder_);
    const std::string path = (folder_ / "sheet.cue").string();
    ASSERT_TRUE(WaitForLine("ready"));
    Peer start(kPeerProgram, L"start sheet.cue", folder_);
    ASSERT_TRUE(WaitForLine("begin " + path));
    holder.Kill();
    EXPECT_EQ(start.Wait(), 2);
}

} // namespace
} // namespace velmora
