#include "cue/repair/MoveRecord.h"
#include "messages/Messages.h"
#include "tests/cue/TestSupport.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

using testkit::FolderEntries;
using testkit::HandToUnprivilegedUser;
using testkit::ReadFile;
using testkit::RecordingHost;
using testkit::RunUnprivileged;
using testkit::TempFolder;
using testkit::WriteFile;

// PERFORMER and TITLE make a sheet an audio sheet.
const std::string kAudioHead = "PERFORMER \"p\"\r\nTITLE \"t\"\r\n";

// An audio sheet whose file is "Track.wav" and whose times all need normalising: each of its `lines`
// INDEX lines grows by three bytes in the repair.
std::string SheetWithShortTimes(int lines) {
    std::string sheet = kAudioHead + "FILE \"Track.wav\" WAVE\r\n";
    for (int i = 0; i < lines; ++i) {
        sheet += "  TRACK 01 AUDIO\r\n    INDEX 01 1:2:3\r\n";
    }
    return sheet;
}

std::string Normalised(int lines) {
    std::string sheet = kAudioHead + "FILE \"Track.wav\" WAVE\r\n";
    for (int i = 0; i < lines; ++i) {
        sheet += "  TRACK 01 AUDIO\r\n    INDEX 01 01:02:03\r\n";
    }
    return sheet;
}

class FaultRun : public ::testing::Test {
protected:
    std::string RunFailing(const std::string& path) {
        state = RepairState();
        state.CuePath = path;
        try {
            const RunOutcome outcome = traitementCUE(state, host);
            return "outcome " + std::to_string(static_cast<int>(outcome));
        } catch (const Error& error) {
            return error.what();
        }
    }

    TempFolder folder;
    RecordingHost host;
    RepairState state;
};

TEST_F(FaultRun, AFullDiskKeepsTheOriginalInTheSheetOrItsBackup) {
    constexpr rlim_t kLimit = 4096;
    struct Case {
        int lines;
        const char* failingFile;
        bool backupWritten;
        // A sheet with another name has its backup copied; otherwise the old sheet itself becomes the
        // backup and takes no room.
        bool otherName;
    };
    // 105 lines: the sheet fits, its repaired text does not. 120 lines: a copy of the backup does not fit.
    const Case cases[] = {
        {105, "s.cue", true, false}, {120, "s.cue", true, false}, {120, "s.cue.bak", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.lines) + (c.otherName ? " lines, another name" : " lines"));
        TempFolder scratch;
        const std::string original = SheetWithShortTimes(c.lines);
        EXPECT_EQ(original.size() < kLimit, c.lines < 120);
        EXPECT_GT(Normalised(c.lines).size(), kLimit);
        WriteFile(scratch / "Track.wav", "");
        WriteFile(scratch / "s.cue", original);
        if (c.otherName) {
            std::filesystem::create_hard_link(scratch / "s.cue", scratch / "other.cue");
        }
        for (const char* name : {"", "Track.wav", "s.cue"}) {
            HandToUnprivilegedUser(scratch / name);
        }
        const std::string message = RunUnprivileged([&] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{kLimit, kLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            return RunFailing(scratch / "s.cue");
        });
        EXPECT_EQ(message, "Impossible de créer le fichier \"" + (scratch / c.failingFile) + "\". " +
                               SystemErrorText(EFBIG));
        EXPECT_EQ(ReadFile(scratch / "s.cue"), original);
        std::vector<std::string> expected{"Track.wav"};
        if (c.otherName) {
            expected.push_back("other.cue");
        }
        expected.push_back("s.cue");
        if (c.backupWritten) {
            expected.push_back("s.cue.bak");
            expected.push_back("s.cue.moves");
        }
        EXPECT_EQ(FolderEntries(scratch.Path()), expected) << c.lines;
        if (c.backupWritten) {
            EXPECT_EQ(ReadFile(scratch / "s.cue.bak"), original);
        }
    }
}

TEST_F(FaultRun, AReadOnlyFolderFailsBeforeAnythingIsWritten) {
    const std::string original = SheetWithShortTimes(2);
    WriteFile(folder / "Track.wav", "");
    WriteFile(folder / "s.cue", original);
    for (const char* name : {"", "Track.wav", "s.cue"}) {
        HandToUnprivilegedUser(folder / name);
    }
    ::chmod(folder.Path().c_str(), 0555);
    const std::string message = RunUnprivileged([&] { return RunFailing(folder / "s.cue"); });
    ::chmod(folder.Path().c_str(), 0755);
    EXPECT_EQ(message, "Impossible de créer le fichier \"" + (folder / "s.cue.bak") + "\". " +
                           SystemErrorText(EACCES));
    EXPECT_EQ(ReadFile(folder / "s.cue"), original);
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"Track.wav", "s.cue"}));
}

TEST_F(FaultRun, SheetsThatAreNoFilesAreRefusedWithoutWaiting) {
    ASSERT_EQ(::mkfifo((folder / "fifo.cue").c_str(), 0644), 0);
    ::symlink((folder / "gone.cue").c_str(), (folder / "dangling.cue").c_str());
    ::symlink((folder / "fifo.cue").c_str(), (folder / "tofifo.cue").c_str());
    // A sheet reached through a link is named where it lies.
    const struct {
        std::string name;
        std::string named;
        std::string systemText;
    } cases[] = {
        {"fifo.cue", "fifo.cue", SystemErrorText(EINVAL)},
        {"tofifo.cue", "fifo.cue", SystemErrorText(EINVAL)},
        {"dangling.cue", "dangling.cue", SystemErrorText(ENOENT)},
    };
    for (const auto& [name, named, systemText] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(RunFailing(folder / name),
                  "Impossible d'ouvrir le fichier \"" + (folder / named) + "\". " + systemText);
        EXPECT_FALSE(state.RunInProgress);
    }
    EXPECT_TRUE(host.rows.empty());
    EXPECT_EQ(FolderEntries(folder.Path()),
              (std::vector<std::string>{"dangling.cue", "fifo.cue", "tofifo.cue"}));
}

TEST_F(FaultRun, ASheetReachedThroughALinkKeepsTheLinkAndItsTargetIsRepairedWhereItLies) {
    ::mkdir((folder / "real").c_str(), 0755);
    WriteFile(folder / "real/Track.wav", "");
    WriteFile(folder / "real/album.cue", SheetWithShortTimes(2));
    ASSERT_EQ(::symlink("real/album.cue", (folder / "album.cue").c_str()), 0);
    EXPECT_EQ(RunFailing(folder / "album.cue"),
              "outcome " + std::to_string(static_cast<int>(RunOutcome::Corrected)));
    struct stat link {};
    ASSERT_EQ(::lstat((folder / "album.cue").c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    EXPECT_EQ(ReadFile(folder / "real/album.cue"), Normalised(2));
    EXPECT_EQ(ReadFile(folder / "real/album.cue.bak"), SheetWithShortTimes(2));
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"album.cue", "real"}));
    EXPECT_EQ(FolderEntries(folder / "real"),
              (std::vector<std::string>{"Track.wav", "album.cue", "album.cue.bak", "album.cue.moves"}));
}

TEST_F(FaultRun, AnImageMoveThatMeetsAChangedDiskLeavesEveryFileWhole) {
    const std::string sheet =
        "FILE \"disc.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n";
    struct Case {
        const char* what;
        std::function<void(const std::string& from, const std::string& to)> fault;
        std::vector<std::string> sourceEntries;
        std::vector<std::string> sheetEntries;
        const char* target;
    };
    const Case cases[] = {
        {"the target appears",
         [](const std::string&, const std::string& to) { WriteFile(to, "intruder"); },
         {"chosen.bin"},
         {"disc.bin", "disc.cue"},
         "intruder"},
        {"the source vanishes",
         [](const std::string& from, const std::string&) { ::unlink(from.c_str()); },
         {},
         {"disc.cue"},
         nullptr},
    };
    // /dev/shm makes the move cross file systems where it is one of its own.
    for (const char* base : {"/dev/shm", ""}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (*base == '\0' ? "" : std::string(", from ") + base));
            TempFolder source(base);
            TempFolder sheetFolder;
            WriteFile(source / "chosen.bin", "image");
            WriteFile(sheetFolder / "disc.cue", sheet);
            host = RecordingHost();
            host.storage.beforeMove = c.fault;
            host.chooserAnswers = {source / "chosen.bin"};
            EXPECT_EQ(RunFailing(sheetFolder / "disc.cue"),
                      "outcome " + std::to_string(static_cast<int>(RunOutcome::Bad)))
                << c.what;
            EXPECT_EQ(FolderEntries(source.Path()), c.sourceEntries) << c.what << base;
            EXPECT_EQ(FolderEntries(sheetFolder.Path()), c.sheetEntries) << c.what << base;
            if (c.target != nullptr) {
                EXPECT_EQ(ReadFile(sheetFolder / "disc.bin"), c.target) << c.what << base;
            }
            if (!c.sourceEntries.empty()) {
                EXPECT_EQ(ReadFile(source / "chosen.bin"), "image") << c.what << base;
            }
            EXPECT_EQ(ReadFile(sheetFolder / "disc.cue"), sheet) << c.what << base;
        }
    }
}

TEST_F(FaultRun, OddNamesAreRepairedAndBackedUpUnderTheirOwnBytes) {
    // sheet name, audio name: a line break cannot stand inside a sheet's FILE line.
    const std::pair<std::string, std::string> names[] = {
        {"my album", "my album"}, {"two\nlines", "two lines"},
        {"caf\xe9", "caf\xe9"},   {" lead and trail ", "inner  two  spaces"},
        {"-dash", "-dash"},       {"\xff\xfe", "\x81\x40"},
    };
    for (const auto& [name, audio] : names) {
        TempFolder scratch;
        const std::string original =
            kAudioHead + "FILE \"" + audio + ".wav\" WAVE\r\n  TRACK 01 AUDIO\r\n    INDEX 01 1:2:3\r\n";
        WriteFile(scratch / (audio + ".wav"), "");
        WriteFile(scratch / (name + ".cue"), original);
        host = RecordingHost();
        EXPECT_EQ(RunFailing(scratch / (name + ".cue")),
                  "outcome " + std::to_string(static_cast<int>(RunOutcome::Corrected)))
            << name;
        EXPECT_EQ(ReadFile(scratch / (name + ".cue.bak")), original) << name;
        EXPECT_EQ(ReadFile(scratch / (name + ".cue")),
                  kAudioHead + "FILE \"" + audio +
                      ".wav\" WAVE\r\n  TRACK 01 AUDIO\r\n    INDEX 01 01:02:03\r\n")
            << name;
        std::vector<std::string> expected{name + ".cue", name + ".cue.bak", name + ".cue.moves",
                                          audio + ".wav"};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(FolderEntries(scratch.Path()), expected) << name;
    }
}

// The record of a move is on disk before the move is made, so that whatever stops the run a restore
// can take it back; a move whose record cannot be written is not made, and one that fails leaves no
// entry behind.
TEST_F(FaultRun, AMoveIsRecordedFirstAndOnlyMadeWhenItsRecordIs) {
    const std::string sheet =
        "FILE \"disc.bin\" BINARY\r\n  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n";
    const std::string record = folder / "disc.cue.moves";
    const struct {
        const char* what;
        std::function<void()> fault;
        RunOutcome outcome;
        std::vector<std::string> entries;
        std::string reason;
    } cases[] = {
        {"all goes well", nullptr, RunOutcome::Corrected, {"disc.bin", "disc.cue", "disc.cue.moves"}, ""},
        {"the disk is full when the record is written",
         [&] {
             host.storage.beforeRecord = [](const std::string& path) {
                 throw Error(CannotCreateMessage(path, ENOSPC));
             };
         },
         RunOutcome::Bad,
         {"chosen.bin", "disc.cue"},
         CannotCreateMessage(record, ENOSPC)},
        {"the target appears before the move",
         [&] {
             host.storage.beforeMove = [&](const std::string&, const std::string& to) {
                 WriteFile(to, "other");
             };
         },
         RunOutcome::Bad,
         {"chosen.bin", "disc.bin", "disc.cue"},
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string& name : FolderEntries(folder.Path())) {
            ::unlink((folder / name).c_str());
        }
        WriteFile(folder / "disc.cue", sheet);
        WriteFile(folder / "chosen.bin", "image");
        host = RecordingHost();
        host.animates = false;
        host.chooserAnswers = {folder / "chosen.bin"};
        std::string recordAtMove;
        host.storage.beforeMove = [&](const std::string&, const std::string&) {
            recordAtMove = ReadFile(record);
        };
        if (c.fault) {
            c.fault();
        }
        EXPECT_EQ(RunFailing(folder / "disc.cue"), "outcome " + std::to_string(static_cast<int>(c.outcome)));
        EXPECT_EQ(FolderEntries(folder.Path()), c.entries);
        if (c.outcome == RunOutcome::Corrected) {
            EXPECT_EQ(recordAtMove, EncodeMoveRecord({{"chosen.bin", "disc.bin"}}));
        }
        if (!c.reason.empty()) {
            ASSERT_EQ(state.Report.Missing.size(), 1u);
            EXPECT_EQ(state.Report.Missing[0].Reason, c.reason);
        }
    }
}

} // namespace
} // namespace velmora
