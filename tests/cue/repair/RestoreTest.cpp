#include "cue/repair/Restore.h"

#include "../../messages/ScopedLanguage.h"
#include "cue/repair/MoveRecord.h"
#include "messages/Messages.h"
#include "tests/cue/TestSupport.h"

#include <algorithm>
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

    const RestoreResult result = RestoreSheet(folder / "album.cue", SystemStorage());
    EXPECT_EQ(result.Outcome, RestoreOutcome::Restored);
    EXPECT_TRUE(result.SheetRestored);
    EXPECT_TRUE(result.MovedBack.empty());
    EXPECT_EQ(ReadFile(folder / "album.cue"), kAudioSheet);
    EXPECT_EQ(ModeOf(folder / "album.cue"), 0640u);
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"Track.flac", "album.cue"}));

    // Nothing is left to put back, and nothing changes.
    EXPECT_EQ(RestoreSheet(folder / "album.cue", SystemStorage()).Outcome, RestoreOutcome::NoBackup);
    EXPECT_EQ(ReadFile(folder / "album.cue"), kAudioSheet);
}

// A sheet that is only rewritten has a record of its digest alone, so that edits made since are kept too.
TEST_F(Restore, AnAudioSheetEditedSinceItsRepairIsKeptOrRefused) {
    WriteFile(folder / "album.cue", kAudioSheet);
    WriteFile(folder / "Track.flac", "");
    host.takeSingleCandidate = true;
    ASSERT_EQ(Run("album.cue"), RunOutcome::Corrected);
    const std::string edited = ReadFile(folder / "album.cue") + "REM mine\n";
    WriteFile(folder / "album.cue", edited);
    const std::vector<std::string> before = FolderEntries(folder.Path());
    EXPECT_EQ(before,
              (std::vector<std::string>{"Track.flac", "album.cue", "album.cue.bak", "album.cue.moves"}));

    EXPECT_EQ(RestoreSheet(folder / "album.cue", SystemStorage()).Outcome,
              RestoreOutcome::ChangedSinceRepair);
    EXPECT_EQ(FolderEntries(folder.Path()), before);
    EXPECT_EQ(ReadFile(folder / "album.cue"), edited);

    const RestoreResult result = RestoreSheet(folder / "album.cue", SystemStorage(), EditedSheet::KeepAside);
    EXPECT_EQ(result.Outcome, RestoreOutcome::Restored);
    EXPECT_EQ(ReadFile(folder / "album.cue"), kAudioSheet);
    EXPECT_EQ(ReadFile(folder / "album.cue.edited"), edited);
    EXPECT_EQ(FolderEntries(folder.Path()),
              (std::vector<std::string>{"Track.flac", "album.cue", "album.cue.edited"}));
}

TEST_F(Restore, MovedImagesGoBackWhereTheyCameFromAndTheSheetWithThem) {
    // One image named by a path elsewhere (the sheet is rewritten) and one missing beside the sheet.
    const std::string sheet = "FILE \"C:\\Games\\one.bin\" BINARY\r\n" + kImageTracks +
                              "FILE \"two.bin\" BINARY\r\n  TRACK 02 AUDIO\r\n    INDEX 01 00:00:00\r\n";
    WriteFile(folder / "game.cue", sheet);
    ::mkdir((folder / "incoming").c_str(), 0755);
    WriteFile(folder / "incoming/first.bin", std::string(4000, '1'));
    WriteFile(folder / "incoming/second.bin", std::string(3000, '2'));
    host.chooserAnswers = {folder / "incoming/first.bin", folder / "incoming/second.bin"};
    ASSERT_EQ(Run("game.cue"), RunOutcome::Corrected);
    ASSERT_EQ(FolderEntries(folder / "incoming"), std::vector<std::string>{});
    EXPECT_EQ(DecodeMoveRecord(ReadFile(folder / "game.cue.moves"))->Moves.size(), 2u);

    const RestoreResult result = RestoreSheet(folder / "game.cue", SystemStorage());
    EXPECT_EQ(result.Outcome, RestoreOutcome::Restored);
    ASSERT_EQ(result.MovedBack.size(), 2u);
    // The last move is taken back first.
    EXPECT_EQ(result.MovedBack[0].From, folder / "incoming/second.bin");
    EXPECT_EQ(ReadFile(folder / "game.cue"), sheet);
    EXPECT_EQ(ReadFile(folder / "incoming/first.bin"), std::string(4000, '1'));
    EXPECT_EQ(ReadFile(folder / "incoming/second.bin"), std::string(3000, '2'));
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"game.cue", "incoming"}));
}

TEST_F(Restore, AMoveThatCannotGoBackChangesNothing) {
    const ScopedLanguage english(kEnglishMessages);
    const std::string sheet = "FILE \"disc.bin\" BINARY\r\n" + kImageTracks;
    const struct {
        const char* note;
        std::function<void()> spoil;
        std::string message;
    } cases[] = {
        {"the origin's name is taken again", [&] { WriteFile(folder / "other.bin", "new"); },
         "\"" + (folder / "disc.bin") + "\" cannot be moved back to \"" + (folder / "other.bin") +
             "\": that name is taken"},
        {"the image went away", [&] { ::unlink((folder / "disc.bin").c_str()); },
         "\"" + (folder / "disc.bin") + "\" cannot be moved back to \"" + (folder / "other.bin") +
             "\": it is no longer there"},
        {"the image became a link",
         [&] {
             ::unlink((folder / "disc.bin").c_str());
             ::symlink((elsewhere / "target").c_str(), (folder / "disc.bin").c_str());
         },
         "\"" + (folder / "disc.bin") + "\" cannot be moved back to \"" + (folder / "other.bin") +
             "\": it is no longer a regular file"},
        {"the record is damaged", [&] { WriteFile(folder / "disc.cue.moves", "Velmora moves\n9 x\n"); },
         "\"" + (folder / "disc.cue.moves") + "\" is no record of moves"},
        {"the record is a link",
         [&] {
             ::unlink((folder / "disc.cue.moves").c_str());
             ::symlink((elsewhere / "record").c_str(), (folder / "disc.cue.moves").c_str());
         },
         "Cannot open file \"" + (folder / "disc.cue.moves") + "\". " + SystemErrorText(EINVAL)},
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
        WriteFile(folder / "other.bin", "image");
        host.chooserAnswers = {folder / "other.bin"};
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
            RestoreSheet(folder / "disc.cue", SystemStorage());
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
    EXPECT_THROW(RestoreSheet(folder / "album.cue", SystemStorage()), Error);
    EXPECT_EQ(ReadFile(folder / "album.cue"), kAudioSheet);
    EXPECT_EQ(ReadFile(elsewhere / "secret"), "not a sheet");
}

// A record that arrived with a download is carried out only when every entry is a file below the
// sheet's folder; otherwise nothing at all moves, inside the folder or out of it.
TEST_F(Restore, APlantedRecordIsRefusedWhole) {
    const ScopedLanguage english(kEnglishMessages);
    ::mkdir((folder / "sub").c_str(), 0755);
    ::symlink(elsewhere.Path().c_str(), (folder / "out").c_str());
    WriteFile(elsewhere / "secret", "key");
    const struct {
        const char* note;
        PlannedMove move;
        std::string why;
    } cases[] = {
        {"an absolute origin",
         {elsewhere / "stolen", "secret.bin"},
         "names \"" + (elsewhere / "stolen") + "\""},
        {"an absolute target", {"stolen", elsewhere / "secret"}, "names \"" + (elsewhere / "secret") + "\""},
        {"climbing out", {"../stolen", "secret.bin"}, "names \"../stolen\""},
        {"climbing out from below", {"sub/../../stolen", "secret.bin"}, "names \"sub/../../stolen\""},
        {"a dot", {"./stolen", "secret.bin"}, "names \"./stolen\""},
        {"a backslash", {"..\\stolen", "secret.bin"}, "names \"..\\stolen\""},
        {"a drive", {"C:stolen", "secret.bin"}, "names \"C:stolen\""},
        {"an empty name", {"", "secret.bin"}, "names \"\""},
        {"a doubled slash", {"sub//stolen", "secret.bin"}, "names \"sub//stolen\""},
        {"out through a link", {"out/stolen", "secret.bin"}, "is no folder of its own"},
        {"in through a link", {"stolen", "out/secret"}, "is no folder of its own"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        WriteFile(folder / "album.cue", kAudioSheet);
        WriteFile(folder / "album.cue.bak", "old sheet");
        WriteFile(folder / "secret.bin", "moved in");
        WriteFile(folder / "here.bin", "here");
        // A sound entry first: refusing the record refuses it too.
        WriteFile(folder / "album.cue.moves", EncodeMoveRecord({c.move, {"there.bin", "here.bin"}}));
        const std::vector<std::string> before = FolderEntries(folder.Path());
        try {
            RestoreSheet(folder / "album.cue", SystemStorage());
            ADD_FAILURE() << "restored";
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find(c.why), std::string::npos) << error.what();
        }
        EXPECT_EQ(FolderEntries(folder.Path()), before);
        EXPECT_EQ(FolderEntries(elsewhere.Path()), std::vector<std::string>{"secret"});
        EXPECT_EQ(ReadFile(elsewhere / "secret"), "key");
        EXPECT_EQ(ReadFile(folder / "album.cue"), kAudioSheet);
        EXPECT_EQ(FolderEntries(folder / "sub"), std::vector<std::string>{});
    }
}

TEST_F(Restore, NeverWritesThroughASheetThatIsALink) {
    WriteFile(elsewhere / "rc", "the user's own file");
    ::symlink((elsewhere / "rc").c_str(), (folder / "x.cue").c_str());
    WriteFile(folder / "x.cue.bak", "downloaded bytes");
    EXPECT_THROW(RestoreSheet(folder / "x.cue", SystemStorage()), Error);
    EXPECT_EQ(ReadFile(elsewhere / "rc"), "the user's own file");
    EXPECT_EQ(ReadFile(folder / "x.cue.bak"), "downloaded bytes");
}

TEST_F(Restore, AMoveThatFailsPartWayPutsBackWhatWasMoved) {
    WriteFile(folder / "game.cue", "FILE \"one.bin\" BINARY\r\n" + kImageTracks);
    WriteFile(folder / "game.cue.moves", EncodeMoveRecord({{"a.bin", "one.bin"}, {"b.bin", "two.bin"}}));
    WriteFile(folder / "one.bin", "1");
    WriteFile(folder / "two.bin", "2");
    // Someone takes the first origin's name between the checks and the moves.
    host.storage.beforeMove = [&](const std::string& from, const std::string&) {
        if (from == folder / "one.bin") {
            WriteFile(folder / "a.bin", "someone else's");
        }
    };
    EXPECT_THROW(RestoreSheet(folder / "game.cue", host.storage), Error);
    EXPECT_EQ(FolderEntries(folder.Path()),
              (std::vector<std::string>{"a.bin", "game.cue", "game.cue.moves", "one.bin", "two.bin"}));
    EXPECT_EQ(ReadFile(folder / "two.bin"), "2");
    EXPECT_EQ(ReadFile(folder / "a.bin"), "someone else's");
}

// What a restore makes of each recorded move, by its mark and by what lies under its two names: "new" is
// the name the repair moved the file to, "old" where it came from. A run stopped between the record and
// the move, or between the move and the mark, leaves a move recorded and not marked.
TEST_F(Restore, TheMarksAndTheDiskDecideWhichMovesAreTakenBack) {
    const ScopedLanguage english(kEnglishMessages);
    const PlannedMove move{"old.bin", "new.bin"};
    const struct {
        const char* note;
        MoveRecord record;
        // The names holding a file before the restore, and after it; "error" when nothing may change.
        std::vector<std::string> before;
        std::vector<std::string> after;
        std::string error;
    } cases[] = {
        {"done, at its new place: moved back", {{move}, {true}, {}}, {"new.bin"}, {"old.bin"}, ""},
        {"done, back at its old place already: left", {{move}, {true}, {}}, {"old.bin"}, {"old.bin"}, ""},
        {"done, both names hold a file",
         {{move}, {true}, {}},
         {"new.bin", "old.bin"},
         {},
         "that name is taken"},
        {"done, neither name holds it", {{move}, {true}, {}}, {}, {}, "it is no longer there"},
        {"not marked, made before the stop: moved back", {{move}, {false}, {}}, {"new.bin"}, {"old.bin"}, ""},
        {"not marked, never made: left", {{move}, {false}, {}}, {"old.bin"}, {"old.bin"}, ""},
        {"not marked, both names hold a file: both left",
         {{move}, {false}, {}},
         {"new.bin", "old.bin"},
         {"new.bin", "old.bin"},
         ""},
        {"not marked, neither name holds it", {{move}, {false}, {}}, {}, {}, "it is no longer there"},
        {"recorded twice, the first never made: moved back once",
         {{move, move}, {false, true}, {}},
         {"new.bin"},
         {"old.bin"},
         ""},
        {"made twice, put back by hand between: moved back once",
         {{move, move}, {true, true}, {}},
         {"new.bin"},
         {"old.bin"},
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        const TempFolder here;
        WriteFile(here / "game.cue", "FILE \"new.bin\" BINARY\r\n" + kImageTracks);
        WriteFile(here / "game.cue.moves", EncodeRecord(c.record));
        // The recorded file, and when both names are taken, someone else's at its origin.
        for (const std::string& name : c.before) {
            WriteFile(here / name, name == "old.bin" && c.before.size() == 2 ? "someone's" : "image");
        }
        const std::vector<std::string> entries = FolderEntries(here.Path());
        try {
            RestoreSheet(here / "game.cue", SystemStorage());
            EXPECT_EQ(c.error, "");
            std::vector<std::string> expected = c.after;
            expected.push_back("game.cue");
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(FolderEntries(here.Path()), expected);
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find(c.error), std::string::npos) << error.what();
            EXPECT_NE(c.error, "");
            EXPECT_EQ(FolderEntries(here.Path()), entries);
        }
        // Whatever happened, the recorded file is whole under one name and nobody's file is lost.
        const std::vector<std::string> now = FolderEntries(here.Path());
        const auto images = std::count_if(now.begin(), now.end(), [&](const std::string& name) {
            return name != "game.cue" && name != "game.cue.moves" && ReadFile(here / name) == "image";
        });
        EXPECT_EQ(images, c.before.empty() ? 0 : 1);
        EXPECT_EQ(now.size(), entries.size() - (c.error.empty() ? 1 : 0));
    }
}

// A sheet edited since its repair is the user's newest text: it is never thrown away. Refused, nothing
// changes; kept aside first, the restore goes ahead; records from before the digest restore as ever.
TEST_F(Restore, ASheetEditedSinceTheRepairIsKeptOrRefused) {
    const std::string original = "FILE \"disc.bin\" BINARY\r\n" + kImageTracks;
    const std::string repaired = "FILE \"game.bin\" BINARY\r\n" + kImageTracks;
    const std::string edited = repaired + "REM edited by hand\r\n";
    const MoveRecord withDigest{{{"disc.bin", "game.bin"}}, {true}, SheetDigest(repaired)};
    const MoveRecord beforeDigests{{{"disc.bin", "game.bin"}}, {false}, std::nullopt};
    const struct {
        const char* note;
        std::string sheet;
        MoveRecord record;
        EditedSheet mode;
        // Names taken already, with what they hold.
        std::vector<std::string> taken;
        RestoreOutcome outcome;
        // Where the edited text ends, empty for nowhere.
        std::string keptAs;
    } cases[] = {
        {"as the repair left it",
         repaired,
         withDigest,
         EditedSheet::Refuse,
         {},
         RestoreOutcome::Restored,
         ""},
        {"never rewritten: the backup's bytes",
         original,
         withDigest,
         EditedSheet::Refuse,
         {},
         RestoreOutcome::Restored,
         ""},
        {"edited, refused",
         edited,
         withDigest,
         EditedSheet::Refuse,
         {},
         RestoreOutcome::ChangedSinceRepair,
         ""},
        {"edited, kept aside",
         edited,
         withDigest,
         EditedSheet::KeepAside,
         {},
         RestoreOutcome::Restored,
         "game.cue.edited"},
        {"edited, an earlier .edited kept",
         edited,
         withDigest,
         EditedSheet::KeepAside,
         {"game.cue.edited", "game.cue.edited.2"},
         RestoreOutcome::Restored,
         "game.cue.edited.3"},
        {"edited, a record from before digests",
         edited,
         beforeDigests,
         EditedSheet::Refuse,
         {},
         RestoreOutcome::Restored,
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        const TempFolder here;
        WriteFile(here / "game.cue", c.sheet);
        ::chmod((here / "game.cue").c_str(), 0600);
        WriteFile(here / "game.cue.bak", original);
        WriteFile(here / "game.cue.moves", EncodeRecord(c.record));
        WriteFile(here / "game.bin", "image");
        for (const std::string& name : c.taken) {
            WriteFile(here / name, "earlier: " + name);
        }
        const std::vector<std::string> before = FolderEntries(here.Path());

        const RestoreResult result = RestoreSheet(here / "game.cue", SystemStorage(), c.mode);
        EXPECT_EQ(result.Outcome, c.outcome);
        for (const std::string& name : c.taken) {
            EXPECT_EQ(ReadFile(here / name), "earlier: " + name);
        }
        if (c.outcome == RestoreOutcome::ChangedSinceRepair) {
            EXPECT_EQ(FolderEntries(here.Path()), before);
            EXPECT_EQ(ReadFile(here / "game.cue"), c.sheet);
            EXPECT_EQ(ReadFile(here / "game.bin"), "image");
            continue;
        }
        EXPECT_EQ(ReadFile(here / "game.cue"), original);
        EXPECT_EQ(ReadFile(here / "disc.bin"), "image");
        EXPECT_EQ(result.KeptEdited, c.keptAs.empty() ? "" : here / c.keptAs);
        std::vector<std::string> expected = c.taken;
        expected.insert(expected.end(), {"disc.bin", "game.cue"});
        if (!c.keptAs.empty()) {
            EXPECT_EQ(ReadFile(here / c.keptAs), edited);
            EXPECT_EQ(ModeOf(here / c.keptAs), 0600u);
            expected.push_back(c.keptAs);
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(FolderEntries(here.Path()), expected);
    }
}

TEST_F(Restore, AnEditedSheetsTextIsNeverKeptThroughALink) {
    const std::string repaired = "FILE \"game.bin\" BINARY\r\n" + kImageTracks;
    WriteFile(folder / "game.cue", repaired + "REM mine\r\n");
    WriteFile(folder / "game.cue.bak", "old");
    WriteFile(folder / "game.cue.moves",
              EncodeRecord({{{"disc.bin", "game.bin"}}, {true}, SheetDigest(repaired)}));
    WriteFile(folder / "game.bin", "image");
    WriteFile(elsewhere / "rc", "the user's own file");
    ::symlink((elsewhere / "rc").c_str(), (folder / "game.cue.edited").c_str());
    const RestoreResult result = RestoreSheet(folder / "game.cue", SystemStorage(), EditedSheet::KeepAside);
    EXPECT_EQ(result.KeptEdited, folder / "game.cue.edited.2");
    EXPECT_EQ(ReadFile(elsewhere / "rc"), "the user's own file");
    EXPECT_EQ(ReadFile(folder / "game.cue.edited.2"), repaired + "REM mine\r\n");
}

TEST_F(Restore, ARepairNotesTheDigestOfTheSheetItLeaves) {
    WriteFile(folder / "game.cue", "FILE \"C:\\Games\\one.bin\" BINARY\r\n" + kImageTracks);
    WriteFile(folder / "first.bin", std::string(4000, '1'));
    host.chooserAnswers = {folder / "first.bin"};
    ASSERT_EQ(Run("game.cue"), RunOutcome::Corrected);
    const std::optional<MoveRecord> record = DecodeMoveRecord(ReadFile(folder / "game.cue.moves"));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->Done, std::vector<bool>{true});
    EXPECT_EQ(record->Sheet, SheetDigest(ReadFile(folder / "game.cue")));
}

} // namespace
} // namespace velmora
