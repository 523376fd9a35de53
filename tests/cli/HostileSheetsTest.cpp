// Sheets as a hostile download or an untidy library has them, repaired by the real program on real
// folders; each case says what must be on disk afterwards, byte for byte.
#include "../cue/EncodedAudio.h"
#include "../cue/TestSupport.h"
#include "HostileFolders.h"
#include "RunVelmoraFix.h"
#include "cue/repair/MoveRecord.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::fix {
namespace {

namespace fs = std::filesystem;
using velmora::testkit::FolderEntries;
using velmora::testkit::HandToUnprivilegedUser;
using velmora::testkit::ReadFile;
using velmora::testkit::TempFolder;
using velmora::testkit::WriteFile;

const std::string kAudio = "PERFORMER \"p\"\r\nTITLE \"t\"\r\n";
const std::string kTracks = "  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n";
const std::string kImageTracks = "  TRACK 01 MODE1/2352\r\n    INDEX 01 00:00:00\r\n";

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

// The JSON lines of a run with its folder's path taken out, and a dry run's own fields with it, so that
// a dry run and the real run compare line for line.
std::string ComparableJson(std::string out, const std::string& root) {
    for (std::size_t at = out.find(root); at != std::string::npos; at = out.find(root, at)) {
        out.replace(at, root.size(), "ROOT");
    }
    std::string lines;
    std::size_t start = 0;
    while (start < out.size()) {
        const std::size_t end = out.find('\n', start);
        std::string line = out.substr(start, end - start);
        if (const std::size_t diff = line.find(", \"diff\": \""); diff != std::string::npos) {
            line = line.substr(0, diff) + "}";
        }
        lines += line + "\n";
        start = end == std::string::npos ? out.size() : end + 1;
    }
    return lines;
}

const std::string kOriginalGame = "FILE \"disc.bin\" BINARY\r\n" + kImageTracks;
const std::string kRepairedGame = "FILE \"game.bin\" BINARY\r\n" + kImageTracks;
const std::string kEditedGame = kRepairedGame + "REM edited by hand\r\n";

// A sheet whose repair moved its image and rewrote it, edited by hand since; beside it, an ".edited" name
// planted as a link to a file of the user's.
void ArrangeEditedSinceRepair(const TempFolder& root) {
    WriteBelow(root, "home/.bashrc", "alias ls='ls --color'\n");
    WriteBelow(root, "dl/game.cue", kEditedGame);
    WriteBelow(root, "dl/game.cue.bak", kOriginalGame);
    WriteBelow(root, "dl/game.bin", "image");
    WriteBelow(root, "dl/game.cue.moves",
               EncodeRecord({{{"disc.bin", "game.bin"}}, {true}, SheetDigest(kRepairedGame)}));
    LinkBelow(root, "dl/game.cue.edited", "../home/.bashrc");
}

struct Case {
    const char* name;
    std::function<void(const TempFolder&)> arrange;
    std::string arguments;
    int status;
    std::string out;
    std::function<void(const TempFolder&)> check;
};

TEST(HostileSheets, NothingIsWrittenThroughLinksOrOutsideTheSheetsFolder) {
    const std::string fixSheet =
        kAudio + "FILE \"a.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n    INDEX 01 0:1:80\r\n";
    const std::string bashrc = "alias ls='ls --color'\n";
    const Case cases[] = {
        {"a backup that links to a file of the user's is never written through",
         [&](const TempFolder& root) {
             WriteBelow(root, "home/.bashrc", bashrc);
             WriteBelow(root, "music/album.cue", fixSheet);
             WriteBelow(root, "music/a.wav", "");
             LinkBelow(root, "music/album.cue.bak", "../home/.bashrc");
         },
         "music/album.cue", 2, "music/album.cue => ERROR\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "home/.bashrc"), bashrc);
             EXPECT_EQ(LinkTarget(root / "music/album.cue.bak"), "../home/.bashrc");
             EXPECT_EQ(ReadFile(root / "music/album.cue"), fixSheet);
         }},
        {"a record planted as a link beside a sheet that is only rewritten is never written through",
         [&](const TempFolder& root) {
             WriteBelow(root, "home/.bashrc", bashrc);
             WriteBelow(root, "music/album.cue", fixSheet);
             WriteBelow(root, "music/a.wav", "");
             LinkBelow(root, "music/album.cue.moves", "../home/.bashrc");
         },
         "music/album.cue", 0, "music/album.cue => CORRECTED\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "home/.bashrc"), bashrc);
             EXPECT_EQ(LinkTarget(root / "music/album.cue.moves"), "../home/.bashrc");
             EXPECT_EQ(ReadFile(root / "music/album.cue.bak"), fixSheet);
         }},
        {"a sheet only rewritten and edited since is not restored",
         [&](const TempFolder& root) {
             WriteBelow(root, "music/album.cue", fixSheet + "REM mine\r\n");
             WriteBelow(root, "music/album.cue.bak", fixSheet);
             WriteBelow(root, "music/album.cue.moves",
                        EncodeRecord({{}, {}, SheetDigest(fixSheet + "REM\r\n")}));
         },
         "--restore music/album.cue", 1, "music/album.cue => CHANGED\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "music/album.cue"), fixSheet + "REM mine\r\n");
             EXPECT_EQ(FolderEntries(root / "music"),
                       (std::vector<std::string>{"album.cue", "album.cue.bak", "album.cue.moves"}));
         }},
        {"a backup that is a folder or a FIFO is left alone",
         [&](const TempFolder& root) {
             fs::create_directories(root / "music/one.cue.bak");
             ::mkfifo((root / "music/two.cue.bak").c_str(), 0644);
             WriteBelow(root, "music/one.cue", fixSheet);
             WriteBelow(root, "music/two.cue", fixSheet);
             WriteBelow(root, "music/a.wav", "");
         },
         "music/one.cue music/two.cue", 2, "music/one.cue => ERROR\nmusic/two.cue => ERROR\n",
         [&](const TempFolder& root) {
             EXPECT_TRUE(fs::is_directory(root / "music/one.cue.bak"));
             EXPECT_TRUE(fs::is_fifo(root / "music/two.cue.bak"));
             EXPECT_EQ(ReadFile(root / "music/one.cue"), fixSheet);
             EXPECT_EQ(ReadFile(root / "music/two.cue"), fixSheet);
         }},
        {"a named sheet that is a link is repaired where it lies, its files looked for and kept there",
         [&](const TempFolder& root) {
             WriteBelow(root, "store/album.cue", fixSheet);
             WriteBelow(root, "store/a.wav", "");
             // Beside the link, a file --auto would take for a missing a.wav.
             WriteBelow(root, "music/album.flac", "");
             LinkBelow(root, "music/album.cue", "../store/album.cue");
         },
         "--auto music/album.cue", 0, "music/album.cue => CORRECTED\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(LinkTarget(root / "music/album.cue"), "../store/album.cue");
             EXPECT_EQ(ReadFile(root / "store/album.cue"),
                       kAudio + "FILE \"a.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:02:05\r\n");
             EXPECT_EQ(ReadFile(root / "store/album.cue.bak"), fixSheet);
             EXPECT_EQ(FolderEntries(root / "music"), (std::vector<std::string>{"album.cue", "album.flac"}));
             EXPECT_EQ(FolderEntries(root / "store"),
                       (std::vector<std::string>{"a.wav", "album.cue", "album.cue.bak", "album.cue.moves"}));
         }},
        {"a sheet that is a link below a folder given with --recursive is skipped, as find skips it",
         [&](const TempFolder& root) {
             WriteBelow(root, "Music/real.cue", fixSheet);
             WriteBelow(root, "Music/a.wav", "");
             WriteBelow(root, "Downloads/album/x.flac", "");
             LinkBelow(root, "Downloads/album/link.cue", "../../Music/real.cue");
         },
         "--auto --recursive Downloads", 0, "Downloads/album/link.cue => SKIPPED\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "Music/real.cue"), fixSheet);
             EXPECT_EQ(FolderEntries(root / "Music"), (std::vector<std::string>{"a.wav", "real.cue"}));
             EXPECT_EQ(FolderEntries(root / "Downloads/album"),
                       (std::vector<std::string>{"link.cue", "x.flac"}));
         }},
        {"a restore below a folder never writes a backup through a sheet that links out",
         [&](const TempFolder& root) {
             WriteBelow(root, "rc", bashrc);
             LinkBelow(root, "dl/x.cue", "../rc");
             WriteBelow(root, "dl/x.cue.bak", "downloaded\r\n");
         },
         "--restore --recursive dl", 0, "dl/x.cue => SKIPPED\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "rc"), bashrc);
             EXPECT_EQ(ReadFile(root / "dl/x.cue.bak"), "downloaded\r\n");
         }},
        {"a planted record of moves is refused whole: nothing leaves or enters the folder",
         [&](const TempFolder& root) {
             WriteBelow(root, "home/.ssh/id_rsa", "private key");
             WriteBelow(root, "dl/album.cue", fixSheet);
             WriteBelow(root, "dl/album.cue.bak", "downloaded\r\n");
             WriteBelow(root, "dl/payload.desktop", "[Desktop Entry]\n");
             WriteBelow(root, "dl/album.cue.moves",
                        EncodeMoveRecord({{"../home/.ssh/id_rsa", "key"},
                                          {root / "home/autostart.desktop", "payload.desktop"}}));
         },
         "--restore dl/album.cue", 2, "dl/album.cue => ERROR\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "home/.ssh/id_rsa"), "private key");
             EXPECT_EQ(FolderEntries(root / "home"), std::vector<std::string>{".ssh"});
             EXPECT_EQ(FolderEntries(root / "dl"),
                       (std::vector<std::string>{"album.cue", "album.cue.bak", "album.cue.moves",
                                                 "payload.desktop"}));
             EXPECT_EQ(ReadFile(root / "dl/album.cue"), fixSheet);
         }},
        {"a planted record's move never marked done takes no file of the user's: both names stay",
         [&](const TempFolder& root) {
             WriteBelow(root, "dl/album.cue", fixSheet);
             WriteBelow(root, "dl/album.cue.bak", "downloaded\r\n");
             WriteBelow(root, "dl/notes.txt", "the user's notes");
             WriteBelow(root, "dl/payload.txt", "planted");
             WriteBelow(root, "dl/album.cue.moves", EncodeMoveRecord({{"notes.txt", "payload.txt"}}));
         },
         "--restore dl/album.cue", 0, "dl/album.cue => RESTORED\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "dl/notes.txt"), "the user's notes");
             EXPECT_EQ(ReadFile(root / "dl/payload.txt"), "planted");
             EXPECT_EQ(FolderEntries(root / "dl"),
                       (std::vector<std::string>{"album.cue", "notes.txt", "payload.txt"}));
         }},
        {"a sheet edited since its repair is not restored, and nothing moves",
         [&](const TempFolder& root) { ArrangeEditedSinceRepair(root); }, "--restore dl/game.cue", 1,
         "dl/game.cue => CHANGED\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "dl/game.cue"), kEditedGame);
             EXPECT_EQ(FolderEntries(root / "dl"),
                       (std::vector<std::string>{"game.bin", "game.cue", "game.cue.bak", "game.cue.edited",
                                                 "game.cue.moves"}));
             EXPECT_EQ(ReadFile(root / "home/.bashrc"), bashrc);
         }},
        {"--force keeps an edited sheet's text beside it, never through a planted .edited",
         [&](const TempFolder& root) { ArrangeEditedSinceRepair(root); }, "--restore --force dl/game.cue", 0,
         "dl/game.cue => RESTORED\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "dl/game.cue"), kOriginalGame);
             EXPECT_EQ(ReadFile(root / "dl/game.cue.edited.2"), kEditedGame);
             EXPECT_EQ(LinkTarget(root / "dl/game.cue.edited"), "../home/.bashrc");
             EXPECT_EQ(ReadFile(root / "home/.bashrc"), bashrc);
             EXPECT_EQ(
                 FolderEntries(root / "dl"),
                 (std::vector<std::string>{"disc.bin", "game.cue", "game.cue.edited", "game.cue.edited.2"}));
         }},
        {"two image sheets and one image: the first takes it, and the second is not offered it again",
         [&](const TempFolder& root) {
             WriteBelow(root, "games/one.cue", "FILE \"one.bin\" BINARY\r\n" + kImageTracks);
             WriteBelow(root, "games/two.cue", "FILE \"two.bin\" BINARY\r\n" + kImageTracks);
             WriteBelow(root, "games/image.bin", std::string(2352, 'i'));
         },
         "--auto games/one.cue games/two.cue", 1, "games/one.cue => CORRECTED\ngames/two.cue => BAD\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(FolderEntries(root / "games"),
                       (std::vector<std::string>{"one.bin", "one.cue", "one.cue.moves", "two.cue"}));
         }},
        {"a real repair never adds to a planted record",
         [&](const TempFolder& root) {
             WriteBelow(root, "dl/game.cue", "FILE \"game.bin\" BINARY\r\n" + kImageTracks);
             WriteBelow(root, "dl/game.cue.moves", EncodeMoveRecord({{"/etc/passwd", "x"}}));
             WriteBelow(root, "dl/disc.bin", std::string(2352, 'i'));
         },
         "--auto dl/game.cue", 2, "dl/game.cue => ERROR\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(FolderEntries(root / "dl"),
                       (std::vector<std::string>{"disc.bin", "game.cue", "game.cue.moves"}));
             EXPECT_EQ(ReadFile(root / "dl/game.cue.moves"), EncodeMoveRecord({{"/etc/passwd", "x"}}));
         }},
        {"an image reference that climbs out gets its image beside the sheet under its last name",
         [&](const TempFolder& root) {
             fs::create_directories(root / "outside");
             WriteBelow(root, "library/game/game.cue",
                        "FILE \"../../outside/evil.bin\" BINARY\r\n" + kImageTracks);
             // --auto takes an image only when it holds the sheet's track: one frame here.
             WriteBelow(root, "library/game/game.bin", std::string(2352, 'i'));
         },
         "--auto library/game/game.cue", 0, "library/game/game.cue => CORRECTED\n",
         [&](const TempFolder& root) {
             EXPECT_TRUE(FolderEntries(root / "outside").empty());
             EXPECT_EQ(ReadFile(root / "library/game/evil.bin"), std::string(2352, 'i'));
             EXPECT_EQ(ReadFile(root / "library/game/game.cue"),
                       "FILE \"evil.bin\" BINARY\r\n" + kImageTracks);
             EXPECT_EQ(ReadFile(root / "library/game/game.cue.bak"),
                       "FILE \"../../outside/evil.bin\" BINARY\r\n" + kImageTracks);
         }},
        {"a drive-letter reference gets a plain name, never one with backslashes",
         [&](const TempFolder& root) {
             WriteBelow(root, "game/game.cue", "FILE \"C:\\Music\\game.bin\" BINARY\r\n" + kImageTracks);
             WriteBelow(root, "download.bin", "image");
         },
         "--bin download.bin game/game.cue", 0, "game/game.cue => CORRECTED\n",
         [&](const TempFolder& root) {
             // The image came from outside the sheet's folder: no record may send anything back there.
             EXPECT_EQ(FolderEntries(root / "game"),
                       (std::vector<std::string>{"game.bin", "game.cue", "game.cue.bak", "game.cue.moves"}));
             EXPECT_EQ(ReadFile(root / "game/game.bin"), "image");
             EXPECT_EQ(ReadFile(root / "game/game.cue"), "FILE \"game.bin\" BINARY\r\n" + kImageTracks);
         }},
        {"a sub-folder that links outside is not written into",
         [&](const TempFolder& root) {
             fs::create_directories(root / "elsewhere");
             LinkBelow(root, "game/cd", "../elsewhere");
             WriteBelow(root, "game/game.cue", "FILE \"cd\\disc.bin\" BINARY\r\n" + kImageTracks);
             WriteBelow(root, "download.bin", "image");
         },
         "--bin download.bin game/game.cue", 1, "game/game.cue => BAD\n",
         [&](const TempFolder& root) {
             EXPECT_TRUE(FolderEntries(root / "elsewhere").empty());
             EXPECT_EQ(ReadFile(root / "download.bin"), "image");
         }},
        {"a sub-folder reference is looked for below the sheet with either separator",
         [&](const TempFolder& root) {
             WriteBelow(root, "game/game.cue", "FILE \"cd\\disc.bin\" BINARY\r\n" + kImageTracks);
             WriteBelow(root, "game/cd/disc.bin", "image");
         },
         "game/game.cue", 0, "game/game.cue => GOOD\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(FolderEntries(root / "game"), (std::vector<std::string>{"cd", "game.cue"}));
         }},
        {"a folder given as the image is refused and stays where it is",
         [&](const TempFolder& root) {
             WriteBelow(root, "folder.bin/inside", "keep");
             WriteBelow(root, "game/game.cue", "FILE \"game.bin\" BINARY\r\n" + kImageTracks);
         },
         "--bin folder.bin game/game.cue", 1, "game/game.cue => BAD\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "folder.bin/inside"), "keep");
             EXPECT_EQ(FolderEntries(root / "game"), std::vector<std::string>{"game.cue"});
         }},
        {"--auto never takes the image of a sibling sheet",
         [&](const TempFolder& root) {
             WriteBelow(root, "set/Disc 1.cue", "FILE \"Disc 1.bin\" BINARY\r\n" + kImageTracks);
             WriteBelow(root, "set/Disc 2.cue", "FILE \"Disc 2.bin\" BINARY\r\n" + kImageTracks);
             WriteBelow(root, "set/Disc 2.bin", "second disc");
         },
         "--auto 'set/Disc 1.cue'", 1, "set/Disc 1.cue => BAD\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "set/Disc 2.bin"), "second disc");
             EXPECT_EQ(FolderEntries(root / "set"),
                       (std::vector<std::string>{"Disc 1.cue", "Disc 2.bin", "Disc 2.cue"}));
         }},
        {"--auto never takes a file that another sheet names",
         [&](const TempFolder& root) {
             WriteBelow(root, "box/live.cue", kAudio + "FILE \"live.wav\" WAVE\r\n" + kTracks);
             WriteBelow(root, "box/other.cue", kAudio + "FILE \"live.flac\" WAVE\r\n" + kTracks);
             WriteBelow(root, "box/live.flac", "");
         },
         "--auto box/live.cue", 1, "box/live.cue => BAD\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "box/live.cue"), kAudio + "FILE \"live.wav\" WAVE\r\n" + kTracks);
         }},
        {"one --audio answers one question: the next one is cancelled",
         [&](const TempFolder& root) {
             WriteBelow(root, "album/album.cue",
                        kAudio + "FILE \"1.wav\" WAVE\r\n" + kTracks + "FILE \"2.wav\" WAVE\r\n" + kTracks +
                            "FILE \"3.wav\" WAVE\r\n" + kTracks);
             WriteBelow(root, "album/x.flac", "");
         },
         "--audio album/x.flac album/album.cue", 1, "album/album.cue => BAD\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(FolderEntries(root / "album"), (std::vector<std::string>{"album.cue", "x.flac"}));
         }},
        {"several --audio answer their questions in order, across sheets",
         [&](const TempFolder& root) {
             WriteBelow(root, "a/a.cue",
                        kAudio + "FILE \"1.wav\" WAVE\r\n" + kTracks + "FILE \"2.wav\" WAVE\r\n" + kTracks);
             WriteBelow(root, "b/b.cue", kAudio + "FILE \"3.wav\" WAVE\r\n" + kTracks);
             for (const char* name : {"a/one.flac", "a/two.flac", "b/three.mp3"}) {
                 WriteBelow(root, name, "");
             }
         },
         "--audio a/one.flac --audio a/two.flac --recursive . --audio=b/three.mp3", 0,
         "a/a.cue => CORRECTED\nb/b.cue => CORRECTED\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "a/a.cue"), kAudio + "FILE \"one.flac\" WAVE\r\n" + kTracks +
                                                       "FILE \"two.flac\" WAVE\r\n" + kTracks);
             EXPECT_EQ(ReadFile(root / "b/b.cue"), kAudio + "FILE \"three.mp3\" MP3\r\n" + kTracks);
         }},
        {"a disc image keeps its type in a sheet that reads as audio",
         [&](const TempFolder& root) {
             WriteBelow(root, "cd/game.cue", kAudio + "FILE \"GAME.BIN\" BINARY\r\n" + kTracks);
             WriteBelow(root, "cd/game.img", "image");
         },
         "--audio cd/game.img cd/game.cue", 0, "cd/game.cue => CORRECTED\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "cd/game.cue"), kAudio + "FILE \"game.img\" BINARY\r\n" + kTracks);
         }},
        {"a chosen audio file elsewhere is named by its path from the sheet",
         [&](const TempFolder& root) {
             WriteBelow(root, "music/album/album.cue", kAudio + "FILE \"a.wav\" WAVE\r\n" + kTracks);
             WriteBelow(root, "rips/a.flac", "");
         },
         "--audio rips/a.flac music/album/album.cue", 0, "music/album/album.cue => CORRECTED\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "music/album/album.cue"),
                       kAudio + "FILE \"../../rips/a.flac\" WAVE\r\n" + kTracks);
         }},
        {"the backup is the sheet's bytes with the sheet's mode",
         [&](const TempFolder& root) {
             WriteBelow(
                 root, "private/album.cue",
                 "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"a.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 0:1:80\n");
             WriteBelow(root, "private/a.wav", "");
             ::chmod((root / "private/album.cue").c_str(), 0600);
         },
         "private/album.cue", 0, "private/album.cue => CORRECTED\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(
                 ReadFile(root / "private/album.cue"),
                 "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"a.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:02:05\n");
             EXPECT_EQ(
                 ReadFile(root / "private/album.cue.bak"),
                 "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"a.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 0:1:80\n");
             EXPECT_EQ(ModeOf(root / "private/album.cue.bak"), 0600u);
             EXPECT_EQ(ModeOf(root / "private/album.cue"), 0600u);
         }},
        {"a sheet hard-linked to a file of the user's: only its own name takes the new bytes",
         [&](const TempFolder& root) {
             WriteBelow(root, "home/notes.cue", fixSheet);
             WriteBelow(root, "dl/b.cue", fixSheet);
             WriteBelow(root, "dl/a.wav", "");
             fs::create_hard_link(root / "home/notes.cue", root / "dl/album.cue");
         },
         "dl/album.cue dl/b.cue", 0, "dl/album.cue => CORRECTED\ndl/b.cue => CORRECTED\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "home/notes.cue"), fixSheet);
             EXPECT_EQ(fs::hard_link_count(root / "home/notes.cue"), 1u);
             EXPECT_EQ(ReadFile(root / "dl/album.cue.bak"), fixSheet);
             EXPECT_EQ(fs::hard_link_count(root / "dl/album.cue.bak"), 1u);
             EXPECT_EQ(ReadFile(root / "dl/b.cue.bak"), fixSheet);
             EXPECT_NE(ReadFile(root / "dl/album.cue"), fixSheet);
         }},
        {"a backup hard-linked to a file of the user's is replaced, never written into",
         [&](const TempFolder& root) {
             WriteBelow(root, "home/.bashrc", bashrc);
             WriteBelow(root, "dl/album.cue", fixSheet);
             WriteBelow(root, "dl/a.wav", "");
             fs::create_hard_link(root / "home/.bashrc", root / "dl/album.cue.bak");
         },
         "dl/album.cue", 0, "dl/album.cue => CORRECTED\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(ReadFile(root / "home/.bashrc"), bashrc);
             EXPECT_EQ(ReadFile(root / "dl/album.cue.bak"), fixSheet);
         }},
        {"names of our temporaries planted as a link and a folder are neither swept nor followed",
         [&](const TempFolder& root) {
             WriteBelow(root, "home/.bashrc", bashrc);
             WriteBelow(root, "dl/.b.cue.fedcba9876543210.tmp/inside", "keep");
             WriteBelow(root, "dl/album.cue", fixSheet);
             WriteBelow(root, "dl/a.wav", "");
             LinkBelow(root, "dl/.album.cue.0123456789abcdef.tmp", "../home/.bashrc");
             // Dated long ago, as what a killed run left would be.
             const timespec old[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
             for (const char* name :
                  {"dl/.album.cue.0123456789abcdef.tmp", "dl/.b.cue.fedcba9876543210.tmp"}) {
                 ::utimensat(AT_FDCWD, (root / name).c_str(), old, AT_SYMLINK_NOFOLLOW);
             }
         },
         "dl/album.cue", 0, "dl/album.cue => CORRECTED\n",
         [&](const TempFolder& root) {
             EXPECT_EQ(LinkTarget(root / "dl/.album.cue.0123456789abcdef.tmp"), "../home/.bashrc");
             EXPECT_EQ(ReadFile(root / "home/.bashrc"), bashrc);
             EXPECT_EQ(ReadFile(root / "dl/.b.cue.fedcba9876543210.tmp/inside"), "keep");
         }},
        {"names are printed with their control characters escaped",
         [&](const TempFolder& root) {
             WriteBelow(root, "evil\x1b[2J.cue", kAudio + "FILE \"a.wav\" WAVE\r\n" + kTracks);
             WriteBelow(root, "a.wav", "");
         },
         "\"$(printf 'evil\\033[2J.cue')\"", 0, "evil\\x1b[2J.cue => GOOD\n",
         [](const TempFolder&) {
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder root;
        c.arrange(root);
        const std::set<std::string> planted = TemporaryNamesBelow(root.Path());
        const Finished finished = RunVelmoraFix(root.Path(), c.arguments);
        EXPECT_EQ(finished.status, c.status) << finished.err;
        EXPECT_EQ(finished.out, c.out);
        c.check(root);
        // Nothing of the run's own is left; what the folder held under such names is.
        EXPECT_EQ(TemporaryNamesBelow(root.Path()), planted);
        if (c.arguments.find("--restore") != std::string::npos) {
            continue;
        }
        // A dry run changes nothing and answers as the real run does, line for line.
        TempFolder dryRoot;
        c.arrange(dryRoot);
        const std::map<std::string, std::string> before = Snapshot(dryRoot.Path());
        const Finished dry = RunVelmoraFix(dryRoot.Path(), "--dry-run --json " + c.arguments);
        EXPECT_EQ(Snapshot(dryRoot.Path()), before);
        TempFolder realRoot;
        c.arrange(realRoot);
        const Finished real = RunVelmoraFix(realRoot.Path(), "--json " + c.arguments);
        EXPECT_EQ(dry.status, real.status) << dry.err;
        EXPECT_EQ(ComparableJson(dry.out, dryRoot.Path()), ComparableJson(real.out, realRoot.Path()));
    }
}

// TagLib's module is looked for beside the program only: one planted beside a sheet, in the working
// folder or where an install would put it below either is never loaded. The files only TagLib reads
// are read by the program's own module, and those cut short are told before any module is asked (the
// runs speak French).
TEST(HostileSheets, ATagLibModulePlantedInTheMusicIsNeverLoaded) {
    ASSERT_EQ(testkit::EncodingProblem(), "");
    TempFolder root;
    for (const char* folder : {"music/lib/velmora", "lib/velmora"}) {
        fs::create_directories(root / folder);
    }
    for (const char* planted : {"velmora-taglib.so", "lib/velmora/velmora-taglib.so",
                                "music/velmora-taglib.so", "music/lib/velmora/velmora-taglib.so"}) {
        WriteFile(root / planted, "not a shared object");
    }
    // Ten seconds in a layout only TagLib reads.
    testkit::WriteWavAfterManyChunks(root / "music/chunks.wav", 750 * testkit::kSamplesPerCdFrame);
    WriteFile(root / "music/album.cue", kAudio + "FILE \"chunks.wav\" WAVE\r\n" + kTracks +
                                            "  TRACK 02 AUDIO\r\n    INDEX 01 00:09:00\r\n");
    // Four seconds each, the cut one with its header still claiming them.
    for (const char* audio : {"tone.mpc", "tone-fast-50.m4a"}) {
        fs::copy_file(testkit::EncodedAudio() / audio, root / ("music/" + std::string(audio)));
        WriteFile(root / ("music/" + std::string(audio) + ".cue"),
                  kAudio + "FILE \"" + audio + "\" WAVE\r\n" + kTracks +
                      "  TRACK 02 AUDIO\r\n    INDEX 01 00:03:00\r\n");
    }
    const struct {
        const char* sheet;
        const char* out;
        const char* err;
    } sheets[] = {
        {"album.cue", " => FITS\n", ""},
        {"tone.mpc.cue", " => FITS\n", ""},
        {"tone-fast-50.m4a.cue", " => UNCHECKED\n",
         ":3: la durée de \"tone-fast-50.m4a\" n'a pas pu être lue : le fichier est plus court que ne le dit "
         "son en-tête\n"},
    };
    for (const auto& [folder, prefix] : {std::pair{root.Path(), "music/"}, {root / "music", ""}}) {
        for (const auto& c : sheets) {
            const std::string sheet = prefix + std::string(c.sheet);
            const Finished finished = RunVelmoraFix(folder, "--check " + sheet);
            EXPECT_EQ(finished.status, 0) << finished.err;
            EXPECT_EQ(finished.out, sheet + c.out);
            EXPECT_EQ(finished.err, *c.err == '\0' ? "" : "velmora-fix: " + sheet + c.err);
        }
    }
}

TEST(HostileSheets, AGoodSheetInAReadOnlyFolderIsLeftAloneForAnOrdinaryUser) {
    TempFolder root;
    TempFolder programFolder;
    const std::string sheet = kAudio + "FILE \"a.wav\" WAVE\r\n" + kTracks;
    WriteBelow(root, "ro/album.cue", sheet);
    WriteBelow(root, "ro/a.wav", "");
    for (const char* name : {"", "ro", "ro/album.cue", "ro/a.wav"}) {
        HandToUnprivilegedUser(root / name);
    }
    ::chmod((root / "ro").c_str(), 0555);
    // A copy of the program that the ordinary user can reach wherever the build tree lies.
    fs::copy_file(VELMORA_FIX_PROGRAM, programFolder / "velmora-fix");
    HandToUnprivilegedUser(programFolder.Path());
    HandToUnprivilegedUser(programFolder / "velmora-fix");
    const std::string dropPrivileges =
        ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups" : std::string();
    const Finished finished =
        RunVelmoraFix(root.Path(), "ro/album.cue", dropPrivileges, programFolder / "velmora-fix");
    EXPECT_EQ(finished.status, 0) << finished.err;
    EXPECT_EQ(finished.out, "ro/album.cue => GOOD\n");
    EXPECT_EQ(finished.err, "");
    EXPECT_EQ(FolderEntries(root / "ro"), (std::vector<std::string>{"a.wav", "album.cue"}));
}

TEST(HostileSheets, ADryRunDiffIsWhatPatchNeedsToMakeTheRealRunsSheet) {
    TempFolder dry;
    TempFolder real;
    const std::string sheet = "PERFORMER \"p\"\nTITLE \"t\"\nFILE \"a.wav\" WAVE\n  TRACK 01 AUDIO\n"
                              "    INDEX 01 0:1:80\n  TRACK 02 AUDIO\n    INDEX 01 1:2:3";
    for (const TempFolder* root : {&dry, &real}) {
        WriteFile(*root / "album.cue", sheet);
        WriteFile(*root / "a.flac", "");
    }
    const Finished dryRun = RunVelmoraFix(dry.Path(), "--auto --dry-run album.cue");
    const Finished realRun = RunVelmoraFix(real.Path(), "--auto album.cue");
    EXPECT_EQ(ReadFile(dry / "album.cue"), sheet);
    const std::string diffEnd = dryRun.out.rfind("album.cue => ") == std::string::npos
                                    ? std::string()
                                    : dryRun.out.substr(0, dryRun.out.rfind("album.cue => "));
    EXPECT_EQ(dryRun.out.substr(diffEnd.size()), realRun.out);
    WriteFile(dry / "changes.diff", diffEnd);
    EXPECT_EQ(
        std::system(("cd '" + dry.Path() + "' && patch --quiet --binary album.cue changes.diff").c_str()), 0);
    EXPECT_EQ(ReadFile(dry / "album.cue"), ReadFile(real / "album.cue"));
}

} // namespace
} // namespace velmora::fix
