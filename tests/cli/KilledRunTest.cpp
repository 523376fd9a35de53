// velmora-fix killed at any moment of a batch: every sheet and backup is wholly old or wholly new, and one
// more run leaves no temporary behind.
#include "../cue/TestSupport.h"
#include "cue/repair/MoveRecord.h"
#include "files/TemporaryNames.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace velmora::fix {
namespace {

namespace fs = std::filesystem;
using velmora::testkit::ReadFile;
using velmora::testkit::TempFolder;
using velmora::testkit::WriteFile;

std::string Sheet(int i, const char* frames) {
    std::string sheet = "PERFORMER \"Artist " + std::to_string(i) + "\"\r\nTITLE \"Album\"\r\nFILE \"track" +
                        std::to_string(i) + ".wav\" WAVE\r\n";
    for (int t = 1; t <= 12; ++t) {
        sheet += "  TRACK " + std::to_string(10 + t) + " AUDIO\r\n    INDEX 01 0" + std::to_string(t % 10) +
                 ":10:" + frames + "\r\n";
    }
    return sheet;
}

// Runs velmora-fix with `arguments` and kills it after the delay; a negative delay lets it finish.
int RunFixUntil(const std::vector<std::string>& arguments, int killAfterMicroseconds) {
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        std::vector<char*> argv{const_cast<char*>("velmora-fix")};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(VELMORA_FIX_PROGRAM, argv.data());
        ::_exit(127);
    }
    if (killAfterMicroseconds >= 0) {
        ::usleep(static_cast<useconds_t>(killAfterMicroseconds));
        ::kill(child, SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

TEST(KilledRuns, LeaveEverySheetOldOrNewAndNoTemporaryAfterOneMoreRun) {
    TempFolder root;
    constexpr int kSheets = 240;
    std::map<std::string, std::pair<std::string, std::string>> oldAndNew;
    for (int i = 0; i < kSheets; ++i) {
        const std::string folder = root / ("album" + std::to_string(i % 3));
        fs::create_directories(folder);
        WriteFile(folder + "/track" + std::to_string(i) + ".wav", "");
        const std::string path = folder + "/sheet" + std::to_string(i) + ".cue";
        // Half need their frames carried; the others are good already.
        const bool carried = i % 2 == 0;
        WriteFile(path, Sheet(i, carried ? "80" : "40"));
        oldAndNew[path] = {Sheet(i, carried ? "80" : "40"), carried ? Sheet(i, "80") : Sheet(i, "40")};
        if (carried) {
            std::string repaired = Sheet(i, "80");
            for (std::size_t at; (at = repaired.find(":10:80")) != std::string::npos;) {
                repaired.replace(at, 6, ":11:05");
            }
            oldAndNew[path].second = repaired;
        }
    }
    for (const int delay : {2000, 8000, 15000, 30000, 60000, 120000}) {
        RunFixUntil({"--recursive", "--quiet", root.Path()}, delay);
        for (const auto& [path, bytes] : oldAndNew) {
            const std::string now = ReadFile(path);
            EXPECT_TRUE(now == bytes.first || now == bytes.second) << path << " after " << delay << " us";
            if (fs::exists(path + ".bak")) {
                EXPECT_EQ(ReadFile(path + ".bak"), bytes.first) << path;
            }
        }
    }
    EXPECT_EQ(WEXITSTATUS(RunFixUntil({"--recursive", "--quiet", root.Path()}, -1)), 0);
    for (const auto& [path, bytes] : oldAndNew) {
        EXPECT_EQ(ReadFile(path), bytes.second) << path;
        // A backup linked from the old sheet by a killed run is never left sharing the sheet's bytes.
        if (fs::exists(path + ".bak")) {
            EXPECT_FALSE(fs::equivalent(path, path + ".bak")) << path;
            EXPECT_EQ(fs::hard_link_count(path), 1u) << path;
        }
    }
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root.Path())) {
        EXPECT_FALSE(IsTemporaryName(entry.path().filename().string())) << entry.path();
    }
}

} // namespace
} // namespace velmora::fix

namespace velmora::fix {
namespace {

// A disc image moved in from another file system is copied first; killed during the copy, the move
// leaves the image where it was and no copy of it under any name. The copy is named and its folder
// flushed before the source goes, so that a crash can never lose both: killed in that moment, the image
// is whole on both sides.
TEST(KilledRuns, AnImageCopiedAcrossFileSystemsIsNeverLostOrHalfCopied) {
    if (!fs::is_directory("/dev/shm")) {
        GTEST_SKIP() << "no second file system to copy from";
    }
    TempFolder source("/dev/shm");
    TempFolder folder;
    const std::string image(32 << 20, 'i');
    for (const int delay : {1000, 5000, 20000, 60000, -1}) {
        SCOPED_TRACE(delay);
        fs::remove(folder / "disc.bin");
        WriteFile(folder / "disc.cue",
                  "FILE \"disc.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n");
        WriteFile(source / "image.bin", image);
        RunFixUntil({"--bin", source / "image.bin", folder / "disc.cue"}, delay);
        const bool moved = fs::exists(folder / "disc.bin");
        const bool stayed = fs::exists(source / "image.bin");
        EXPECT_TRUE(moved || stayed);
        if (moved) {
            EXPECT_EQ(ReadFile(folder / "disc.bin"), image);
        }
        if (stayed) {
            EXPECT_EQ(ReadFile(source / "image.bin"), image);
        }
        // A temporary may hold the small move record, never any part of the image.
        for (const TempFolder* place : {&source, &folder}) {
            for (const fs::directory_entry& entry : fs::directory_iterator(place->Path())) {
                if (IsTemporaryName(entry.path().filename().string())) {
                    EXPECT_LT(entry.file_size(), 4096u) << entry.path();
                }
            }
        }
        if (delay < 0) {
            EXPECT_TRUE(moved);
            EXPECT_FALSE(stayed);
        }
    }
}

// A restore killed at any moment leaves every moved file in its old or its new place, never lost, and
// every sheet old or new; one more restore finishes the job.
TEST(KilledRuns, ARestoreKilledAnywhereLosesNothingAndAnotherOneFinishes) {
    TempFolder folder;
    constexpr int kSheets = 60;
    fs::create_directories(folder / "in");
    std::vector<std::string> sheets;
    for (int i = 0; i < kSheets; ++i) {
        const std::string name = "sheet" + std::to_string(i) + ".cue";
        const std::string image = "disc" + std::to_string(i) + ".bin";
        WriteFile(folder / name, Sheet(i, "05"));
        WriteFile(folder / (name + ".bak"), Sheet(i, "80"));
        WriteFile(folder / image, "image " + std::to_string(i));
        WriteFile(folder / (name + ".moves"),
                  EncodeMoveRecord({{"in/image" + std::to_string(i) + ".bin", image}}));
        sheets.push_back(folder / name);
    }
    for (const int delay : {1000, 4000, 10000, 25000, 60000, -1}) {
        SCOPED_TRACE(delay);
        // As a user would, the last run names only the sheets that still have something to put back: a
        // sheet restored already says NO BACKUP, and that alone fails a run.
        std::vector<std::string> arguments{"--restore", "--quiet"};
        for (const std::string& sheet : sheets) {
            if (delay >= 0 || fs::exists(sheet + ".bak") || fs::exists(sheet + ".moves")) {
                arguments.push_back(sheet);
            }
        }
        const int status = arguments.size() > 2 ? RunFixUntil(arguments, delay) : 0;
        for (int i = 0; i < kSheets; ++i) {
            const std::string movedIn = folder / ("disc" + std::to_string(i) + ".bin");
            const std::string origin = folder / ("in/image" + std::to_string(i) + ".bin");
            EXPECT_NE(fs::exists(movedIn), fs::exists(origin)) << i;
            EXPECT_EQ(ReadFile(fs::exists(movedIn) ? movedIn : origin), "image " + std::to_string(i));
            const std::string now = ReadFile(sheets[i]);
            EXPECT_TRUE(now == Sheet(i, "05") || now == Sheet(i, "80")) << sheets[i];
            if (delay < 0) {
                EXPECT_EQ(now, Sheet(i, "80"));
                EXPECT_TRUE(fs::exists(origin));
                EXPECT_FALSE(fs::exists(sheets[i] + ".bak"));
                EXPECT_FALSE(fs::exists(sheets[i] + ".moves"));
            }
        }
        if (delay < 0) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
    }
}

} // namespace
} // namespace velmora::fix

namespace velmora::fix {
namespace {

// A repair killed anywhere, then a restore: every image ends where it was before the repair, whole, and
// every sheet as it was, whether the kill fell before a move's record, between the record and the move,
// or between the move and its mark.
TEST(KilledRuns, ARepairKilledAnywhereIsTakenBackWholeByARestore) {
    const std::string tracks = "  TRACK 01 MODE2/2352\r\n    INDEX 01 00:00:00\r\n";
    constexpr int kFolders = 80;
    for (const int delay : {1000, 3000, 6000, 12000, 25000, 50000, 100000}) {
        SCOPED_TRACE(delay);
        TempFolder root;
        std::vector<std::string> sheets;
        for (int i = 0; i < kFolders; ++i) {
            const std::string folder = root / ("game" + std::to_string(i));
            fs::create_directories(folder);
            // Half name their image as it lies elsewhere, so that their sheets are rewritten too.
            sheets.push_back(
                (i % 2 == 0 ? "FILE \"game.bin\" BINARY\r\n" : "FILE \"C:\\Games\\game.bin\" BINARY\r\n") +
                tracks);
            WriteFile(folder + "/game.cue", sheets.back());
            // --auto takes an image only when it holds the sheet's track: one frame here.
            WriteFile(folder + "/disc.bin", std::string(2352, static_cast<char>('a' + i % 26)));
        }
        RunFixUntil({"--auto", "--recursive", "--quiet", root.Path()}, delay);
        RunFixUntil({"--restore", "--recursive", "--quiet", root.Path()}, -1);
        for (int i = 0; i < kFolders; ++i) {
            const std::string folder = root / ("game" + std::to_string(i));
            EXPECT_EQ(ReadFile(folder + "/game.cue"), sheets[i]) << i;
            std::vector<std::string> left;
            for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
                if (!IsTemporaryName(entry.path().filename().string())) {
                    left.push_back(entry.path().filename().string());
                }
            }
            std::sort(left.begin(), left.end());
            ASSERT_EQ(left, (std::vector<std::string>{"disc.bin", "game.cue"})) << i;
            EXPECT_EQ(ReadFile(folder + "/disc.bin"), std::string(2352, static_cast<char>('a' + i % 26)))
                << i;
        }
    }
}

} // namespace
} // namespace velmora::fix
