// velmora-fix killed at any moment: one table of what is killed, when, and what must hold after each
// kill and after one more run that is let finish.
#include "../cue/TestSupport.h"
#include "cue/repair/MoveRecord.h"
#include "files/TemporaryNames.h"

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace velmora::fix {
namespace {

namespace fs = std::filesystem;
using velmora::testkit::ReadFile;
using velmora::testkit::TempFolder;
using velmora::testkit::WriteFile;

constexpr int kToTheEnd = -1;

std::string Sheet(int i, const char* frames) {
    std::string sheet = "PERFORMER \"Artist " + std::to_string(i) + "\"\r\nTITLE \"Album\"\r\nFILE \"track" +
                        std::to_string(i) + ".wav\" WAVE\r\n";
    for (int t = 1; t <= 12; ++t) {
        sheet += "  TRACK " + std::to_string(10 + t) + " AUDIO\r\n    INDEX 01 0" + std::to_string(t % 10) +
                 ":10:" + frames + "\r\n";
    }
    return sheet;
}

// Runs velmora-fix with `arguments` and kills it after the delay; kToTheEnd lets it finish.
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

// What one row of the table does: the folder it builds before a kill, the run that is killed, and what
// must hold once it was killed (or, at kToTheEnd, once it finished).
struct KilledRun {
    virtual ~KilledRun() = default;
    virtual void BuildBeforeEachKill() {}
    // The killed run's arguments; none when nothing is left for it to do.
    virtual std::vector<std::string> Arguments(int delay) const = 0;
    virtual void Holds(int delay, int status) const = 0;
};

// A batch of 240 sheets in three folders, half of them to be rewritten: every sheet and backup is wholly
// old or wholly new, and one more run leaves no temporary behind.
struct BatchRepair : KilledRun {
    BatchRepair() {
        for (int i = 0; i < 240; ++i) {
            const std::string folder = Root / ("album" + std::to_string(i % 3));
            fs::create_directories(folder);
            WriteFile(folder + "/track" + std::to_string(i) + ".wav", "");
            const std::string path = folder + "/sheet" + std::to_string(i) + ".cue";
            // Half need their frames carried; the others are good already.
            const bool carried = i % 2 == 0;
            WriteFile(path, Sheet(i, carried ? "80" : "40"));
            std::string repaired = Sheet(i, carried ? "80" : "40");
            for (std::size_t at; carried && (at = repaired.find(":10:80")) != std::string::npos;) {
                repaired.replace(at, 6, ":11:05");
            }
            OldAndNew[path] = {Sheet(i, carried ? "80" : "40"), repaired};
        }
    }
    std::vector<std::string> Arguments(int) const override { return {"--recursive", "--quiet", Root.Path()}; }
    void Holds(int delay, int status) const override {
        for (const auto& [path, bytes] : OldAndNew) {
            const std::string now = ReadFile(path);
            EXPECT_TRUE(now == bytes.first || now == bytes.second) << path;
            if (fs::exists(path + ".bak")) {
                EXPECT_EQ(ReadFile(path + ".bak"), bytes.first) << path;
            }
        }
        if (delay != kToTheEnd) {
            return;
        }
        EXPECT_EQ(WEXITSTATUS(status), 0);
        for (const auto& [path, bytes] : OldAndNew) {
            EXPECT_EQ(ReadFile(path), bytes.second) << path;
            // A backup linked from the old sheet by a killed run is never left sharing the sheet's bytes.
            if (fs::exists(path + ".bak")) {
                EXPECT_FALSE(fs::equivalent(path, path + ".bak")) << path;
                EXPECT_EQ(fs::hard_link_count(path), 1u) << path;
            }
        }
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(Root.Path())) {
            EXPECT_FALSE(IsTemporaryName(entry.path().filename().string())) << entry.path();
        }
    }

    TempFolder Root;
    std::map<std::string, std::pair<std::string, std::string>> OldAndNew;
};

// A disc image moved in from another file system is copied first; killed during the copy, the move
// leaves the image where it was and no copy of it under any name. The copy is named and its folder
// flushed before the source goes, so that a crash can never lose both: killed in that moment, the image
// is whole on both sides.
struct ImageCopiedAcrossFileSystems : KilledRun {
    void BuildBeforeEachKill() override {
        fs::remove(Folder / "disc.bin");
        WriteFile(Folder / "disc.cue",
                  "FILE \"disc.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n");
        WriteFile(Source / "image.bin", Image);
    }
    std::vector<std::string> Arguments(int) const override {
        return {"--bin", Source / "image.bin", Folder / "disc.cue"};
    }
    void Holds(int delay, int) const override {
        const bool moved = fs::exists(Folder / "disc.bin");
        const bool stayed = fs::exists(Source / "image.bin");
        EXPECT_TRUE(moved || stayed);
        if (moved) {
            EXPECT_EQ(ReadFile(Folder / "disc.bin"), Image);
        }
        if (stayed) {
            EXPECT_EQ(ReadFile(Source / "image.bin"), Image);
        }
        // A temporary may hold the small move record, never any part of the image.
        for (const TempFolder* place : {&Source, &Folder}) {
            for (const fs::directory_entry& entry : fs::directory_iterator(place->Path())) {
                if (IsTemporaryName(entry.path().filename().string())) {
                    EXPECT_LT(entry.file_size(), 4096u) << entry.path();
                }
            }
        }
        if (delay == kToTheEnd) {
            EXPECT_TRUE(moved);
            EXPECT_FALSE(stayed);
        }
    }

    TempFolder Source{"/dev/shm"};
    TempFolder Folder;
    const std::string Image = std::string(32 << 20, 'i');
};

// A restore of 60 sheets with their moved images: every moved file is in its old or its new place, never
// lost, and every sheet old or new; one more restore finishes the job.
struct Restore : KilledRun {
    Restore() {
        fs::create_directories(Folder / "in");
        for (int i = 0; i < kSheets; ++i) {
            const std::string name = "sheet" + std::to_string(i) + ".cue";
            const std::string image = "disc" + std::to_string(i) + ".bin";
            WriteFile(Folder / name, Sheet(i, "05"));
            WriteFile(Folder / (name + ".bak"), Sheet(i, "80"));
            WriteFile(Folder / image, "image " + std::to_string(i));
            WriteFile(Folder / (name + ".moves"),
                      EncodeMoveRecord({{"in/image" + std::to_string(i) + ".bin", image}}));
            Sheets.push_back(Folder / name);
        }
    }
    // As a user would, the last run names only the sheets that still have something to put back: a sheet
    // restored already says NO BACKUP, and that alone fails a run.
    std::vector<std::string> Arguments(int delay) const override {
        std::vector<std::string> arguments;
        for (const std::string& sheet : Sheets) {
            if (delay != kToTheEnd || fs::exists(sheet + ".bak") || fs::exists(sheet + ".moves")) {
                arguments.push_back(sheet);
            }
        }
        if (!arguments.empty()) {
            arguments.insert(arguments.begin(), {"--restore", "--quiet"});
        }
        return arguments;
    }
    void Holds(int delay, int status) const override {
        for (int i = 0; i < kSheets; ++i) {
            const std::string movedIn = Folder / ("disc" + std::to_string(i) + ".bin");
            const std::string origin = Folder / ("in/image" + std::to_string(i) + ".bin");
            EXPECT_NE(fs::exists(movedIn), fs::exists(origin)) << i;
            EXPECT_EQ(ReadFile(fs::exists(movedIn) ? movedIn : origin), "image " + std::to_string(i));
            const std::string now = ReadFile(Sheets[i]);
            EXPECT_TRUE(now == Sheet(i, "05") || now == Sheet(i, "80")) << Sheets[i];
            if (delay == kToTheEnd) {
                EXPECT_EQ(now, Sheet(i, "80"));
                EXPECT_TRUE(fs::exists(origin));
                EXPECT_FALSE(fs::exists(Sheets[i] + ".bak"));
                EXPECT_FALSE(fs::exists(Sheets[i] + ".moves"));
            }
        }
        if (delay == kToTheEnd) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
    }

    static constexpr int kSheets = 60;
    TempFolder Folder;
    std::vector<std::string> Sheets;
};

// A repair of 80 image folders killed anywhere, then a restore: every image ends where it was before the
// repair, whole, and every sheet as it was, whether the kill fell before a move's record, between the
// record and the move, or between the move and its mark.
struct RepairThenRestore : KilledRun {
    void BuildBeforeEachKill() override {
        Root.emplace();
        Sheets.clear();
        for (int i = 0; i < kFolders; ++i) {
            const std::string folder = *Root / ("game" + std::to_string(i));
            fs::create_directories(folder);
            // Half name their image as it lies elsewhere, so that their sheets are rewritten too.
            Sheets.push_back(
                (i % 2 == 0 ? "FILE \"game.bin\" BINARY\r\n" : "FILE \"C:\\Games\\game.bin\" BINARY\r\n") +
                std::string("  TRACK 01 MODE2/2352\r\n    INDEX 01 00:00:00\r\n"));
            WriteFile(folder + "/game.cue", Sheets.back());
            // --auto takes an image only when it holds the sheet's track: one frame here.
            WriteFile(folder + "/disc.bin", Image(i));
        }
    }
    std::vector<std::string> Arguments(int) const override {
        return {"--auto", "--recursive", "--quiet", Root->Path()};
    }
    void Holds(int, int) const override {
        RunFixUntil({"--restore", "--recursive", "--quiet", Root->Path()}, kToTheEnd);
        for (int i = 0; i < kFolders; ++i) {
            const std::string folder = *Root / ("game" + std::to_string(i));
            EXPECT_EQ(ReadFile(folder + "/game.cue"), Sheets[i]) << i;
            std::vector<std::string> left;
            for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
                if (!IsTemporaryName(entry.path().filename().string())) {
                    left.push_back(entry.path().filename().string());
                }
            }
            std::sort(left.begin(), left.end());
            ASSERT_EQ(left, (std::vector<std::string>{"disc.bin", "game.cue"})) << i;
            EXPECT_EQ(ReadFile(folder + "/disc.bin"), Image(i)) << i;
        }
    }

    static constexpr int kFolders = 80;
    static std::string Image(int i) { return std::string(2352, static_cast<char>('a' + i % 26)); }
    std::optional<TempFolder> Root;
    std::vector<std::string> Sheets;
};

template <typename Run> std::unique_ptr<KilledRun> Make() {
    return std::make_unique<Run>();
}

struct KillCase {
    const char* Name;
    std::unique_ptr<KilledRun> (*Make)();
    // Microseconds after the start; kToTheEnd lets the run finish.
    std::vector<int> Delays;
    bool NeedsSecondFileSystem = false;
};

const KillCase kKillCases[] = {
    {"ABatchRepair", &Make<BatchRepair>, {2000, 8000, 15000, 30000, 60000, 120000, kToTheEnd}},
    {"AnImageCopiedAcrossFileSystems",
     &Make<ImageCopiedAcrossFileSystems>,
     {1000, 5000, 20000, 60000, kToTheEnd},
     true},
    {"ARestore", &Make<Restore>, {1000, 4000, 10000, 25000, 60000, kToTheEnd}},
    {"ARepairThenARestoreToTheEnd",
     &Make<RepairThenRestore>,
     {1000, 3000, 6000, 12000, 25000, 50000, 100000}},
};

// Named in test listings by its row alone.
void PrintTo(const KillCase& row, std::ostream* out) {
    *out << row.Name;
}

class KilledRuns : public ::testing::TestWithParam<KillCase> {};

TEST_P(KilledRuns, LoseNothingWhereverTheKillFalls) {
    const KillCase& c = GetParam();
    if (c.NeedsSecondFileSystem && !fs::is_directory("/dev/shm")) {
        GTEST_SKIP() << "no second file system to copy from";
    }
    const std::unique_ptr<KilledRun> run = c.Make();
    for (const int delay : c.Delays) {
        SCOPED_TRACE(delay == kToTheEnd ? std::string("run to its end") : std::to_string(delay) + " us");
        run->BuildBeforeEachKill();
        const std::vector<std::string> arguments = run->Arguments(delay);
        const int status = arguments.empty() ? 0 : RunFixUntil(arguments, delay);
        run->Holds(delay, status);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKill, KilledRuns, ::testing::ValuesIn(kKillCases),
                         [](const ::testing::TestParamInfo<KillCase>& row) { return row.param.Name; });

} // namespace
} // namespace velmora::fix
