#include "cue/Restore.h"

#include "TestSupport.h"
#include "cue/MoveRecord.h"
#include "messages/Messages.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {
namespace {

using testkit::FolderEntries;
using testkit::ReadFile;
using testkit::RecordingHost;
using testkit::TempFolder;
using testkit::WriteFile;

const std::string kAudioSheet = "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"Track.wav\" WAVE\n"
                                "  TRACK 01 AUDIO\n    INDEX 01 0:2:75\n";
const std::string kImageTracks = "  TRACK 01 MODE2/2352\r\n    INDEX 01 00:00:00\r\n";

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

using Restore = testkit::SheetRepairTest;

TEST_F(Restore, AnAudioSheetComesBackByteForByteWithItsMode) {
    WriteFile(folder / "album.cue", kAudioSheet);
    ::chmod((folder / "album.cue").c_str(), 0640);
    WriteFile(folder / "Track.flac", "");
    host.takeSingleCandidate = true;
    ASSERT_EQ(Run("album.cue"), RunOutcome::Corrected);
    ASSERT_NE(ReadFile(folder / "album.cue"), kAudioSheet);

    const RestoreResult result = RestoreSheet(folder / "album.cue");
    EXPECT_EQ(result.Outcome, RestoreOutcome::Restored);
    EXPECT_TRUE(result.SheetRestored);
    EXPECT_TRUE(result.MovedBack.empty());
    EXPECT_EQ(ReadFile(folder / "album.cue"), kAudioSheet);
    EXPECT_EQ(ModeOf(folder / "album.cue"), 0640u);
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"Track.flac", "album.cue"}));

    // Nothing is left to put back, and nothing changes.
    EXPECT_EQ(RestoreSheet(folder / "album.cue").Outcome, RestoreOutcome::NoBackup);
    EXPECT_EQ(ReadFile(folder / "album.cue"), kAudioSheet);
}

TEST_F(Restore, MovedImagesGoBackWhereTheyCameFromAndTheSheetWithThem) {
    // One image named by a path elsewhere (the sheet is rewritten) and one missing beside the sheet.
    const std::string sheet = "FILE \"C:\\Games\\one.bin\" BINARY\r\n" + kImageTracks +
                              "FILE \"two.bin\" BINARY\r\n  TRACK 02 AUDIO\r\n    INDEX 01 00:00:00\r\n";
    WriteFile(folder / "game.cue", sheet);
    WriteFile(elsewhere / "first.bin", std::string(4000, '1'));
    WriteFile(elsewhere / "second.bin", std::string(3000, '2'));
    host.chooserAnswers = {elsewhere / "first.bin", elsewhere / "second.bin"};
    ASSERT_EQ(Run("game.cue"), RunOutcome::Corrected);
    ASSERT_EQ(FolderEntries(elsewhere.Path()), std::vector<std::string>{});
    EXPECT_EQ(DecodeMoveRecord(ReadFile(folder / "game.cue.moves"))->size(), 2u);

    const RestoreResult result = RestoreSheet(folder / "game.cue");
    EXPECT_EQ(result.Outcome, RestoreOutcome::Restored);
    ASSERT_EQ(result.MovedBack.size(), 2u);
    // The last move is taken back first.
    EXPECT_EQ(result.MovedBack[0].From, elsewhere / "second.bin");
    EXPECT_EQ(ReadFile(folder / "game.cue"), sheet);
    EXPECT_EQ(ReadFile(elsewhere / "first.bin"), std::string(4000, '1'));
    EXPECT_EQ(ReadFile(elsewhere / "second.bin"), std::string(3000, '2'));
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"game.cue"});
}

TEST_F(Restore, AMoveThatCannotGoBackChangesNothing) {
    const std::string sheet = "FILE \"disc.bin\" BINARY\r\n" + kImageTracks;
    const struct {
        const char* note;
        std::function<void()> spoil;
        std::string message;
    } cases[] = {
        {"the origin's name is taken again", [&] { WriteFile(elsewhere / "other.bin", "new"); },
         "\"" + (folder / "disc.bin") + "\" cannot be moved back to \"" + (elsewhere / "other.bin") +
             "\": that name is taken"},
        {"the image went away", [&] { ::unlink((folder / "disc.bin").c_str()); },
         "\"" + (folder / "disc.bin") + "\" cannot be moved back to \"" + (elsewhere / "other.bin") +
             "\": it is no longer there"},
        {"the record is damaged", [&] { WriteFile(folder / "disc.cue.moves", "Velmora moves\n9 x\n"); },
         "\"" + (folder / "disc.cue.moves") + "\" is no record of moves"},
        {"the record is a link",
         [&] {
             ::unlink((folder / "disc.cue.moves").c_str());
             ::symlink((elsewhere / "record").c_str(), (folder / "disc.cue.moves").c_str());
         },
         "Impossible d'ouvrir le fichier \"" + (folder / "disc.cue.moves") + "\". " +
             SystemErrorText(EINVAL)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        for (const std::string& name : FolderEntries(elsewhere.Path())) {
            ::unlink((elsewhere / name).c_str());
        }
        for (const std::string& name : FolderEntries(folder.Path())) {
            ::unlink((folder / name).c_str());
        }
        WriteFile(folder / "disc.cue", sheet);
        WriteFile(elsewhere / "other.bin", "image");
        host.chooserAnswers = {elsewhere / "other.bin"};
        host.chooserCalls.clear();
        const RunOutcome outcome = Run("disc.cue");
        EXPECT_EQ(outcome, RunOutcome::Corrected);
        if (outcome != RunOutcome::Corrected) {
            continue;
        }
        c.spoil();
        const std::vector<std::string> before = FolderEntries(folder.Path());
        const std::vector<std::string> beforeElsewhere = FolderEntries(elsewhere.Path());
        try {
            RestoreSheet(folder / "disc.cue");
            ADD_FAILURE() << "restored";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
            EXPECT_EQ(error.SheetPath(), folder / "disc.cue");
        }
        EXPECT_EQ(FolderEntries(folder.Path()), before);
        EXPECT_EQ(FolderEntries(elsewhere.Path()), beforeElsewhere);
        EXPECT_EQ(ReadFile(folder / "disc.cue"), sheet);
    }
}

TEST_F(Restore, ABackupThatIsNoRegularFileIsNeverRead) {
    WriteFile(folder / "album.cue", kAudioSheet);
    WriteFile(elsewhere / "secret", "not a sheet");
    ::symlink((elsewhere / "secret").c_str(), (folder / "album.cue.bak").c_str());
    EXPECT_THROW(RestoreSheet(folder / "album.cue"), Error);
    EXPECT_EQ(ReadFile(folder / "album.cue"), kAudioSheet);
    EXPECT_EQ(ReadFile(elsewhere / "secret"), "not a sheet");
}

} // namespace
} // namespace velmora
