// What velmora-fix meets as an ordinary user and in the user's language, through Linux's own means
// (setpriv, env).
#include "../cue/TestSupport.h"
#include "RunVelmoraFix.h"
#include "messages/Messages.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::fix {
namespace {

using velmora::testkit::HandToUnprivilegedUser;
using velmora::testkit::ReadFile;
using velmora::testkit::TempFolder;
using velmora::testkit::WriteFile;

TEST(VelmoraFix, AReadOnlySheetEndsWithAnErrorForAnOrdinaryUser) {
    TempFolder scratch;
    TempFolder folder;
    const std::string sheet =
        "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"a.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n    INDEX 01 0:0:0\r\n";
    WriteFile(folder / "album.cue", sheet);
    WriteFile(folder / "a.wav", "");
    for (const char* name : {"", "album.cue", "a.wav"}) {
        HandToUnprivilegedUser(folder / name);
    }
    ::chmod((folder / "album.cue").c_str(), 0444);
    // A copy of the program that the ordinary user can reach wherever the build tree lies.
    std::filesystem::copy_file(VELMORA_FIX_PROGRAM, scratch / "velmora-fix");
    HandToUnprivilegedUser(scratch.Path());
    HandToUnprivilegedUser(scratch / "velmora-fix");
    const std::string dropPrivileges =
        ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups" : std::string();
    const Finished finished =
        RunVelmoraFix(scratch.Path(), folder / "album.cue", dropPrivileges, scratch / "velmora-fix");
    // The row was made before the write failed, but the sheet was not saved: that is what it says.
    EXPECT_EQ(finished.status, 2);
    EXPECT_EQ(finished.out, folder / "album.cue => ERROR\n");
    EXPECT_EQ(finished.err, "velmora-fix: " + (folder / "album.cue") + ": Impossible de créer le fichier \"" +
                                (folder / "album.cue") + "\". " + SystemErrorText(EACCES) + ".\n");
    EXPECT_EQ(ReadFile(folder / "album.cue"), sheet);
    EXPECT_EQ(ReadFile(folder / "album.cue.bak"), sheet);
}

TEST(VelmoraFix, ErrorsAreInTheUsersLanguage) {
    TempFolder folder;
    WriteFile(folder / "times.cue", "PERFORMER \"p\"\r\nTITLE \"t\"\r\nFILE \"a.wav\" WAVE\r\n  TRACK 01 "
                                    "AUDIO\r\n    INDEX 01 00:4x:00\r\n");
    WriteFile(folder / "a.wav", "");
    const struct {
        const char* environment;
        const char* missing;
        const char* times;
    } cases[] = {
        {"LANG=C.UTF-8", "Cannot open file \"%\". No such file or directory.",
         "'4x' is not a valid integer value."},
        {"LANG=fr_FR.UTF-8", "Impossible d'ouvrir le fichier \"%\". Aucun fichier ou dossier de ce type.",
         "'4x' n'est pas une valeur entière correcte."},
        {"LANG=fr_FR.UTF-8 LANGUAGE=en", "Cannot open file \"%\". No such file or directory.",
         "'4x' is not a valid integer value."},
        {"LANG=C.UTF-8 LANGUAGE=fr",
         "Impossible d'ouvrir le fichier \"%\". Aucun fichier ou dossier de ce type.",
         "'4x' n'est pas une valeur entière correcte."},
    };
    for (const auto& c : cases) {
        const std::string prefix = std::string("env -u LC_ALL -u LC_MESSAGES -u LANGUAGE ") + c.environment;
        const Finished finished = RunVelmoraFix(folder.Path(), "gone.cue times.cue", prefix);
        std::string missing = c.missing;
        missing.replace(missing.find('%'), 1, folder / "gone.cue");
        EXPECT_EQ(finished.err,
                  "velmora-fix: gone.cue: " + missing + "\nvelmora-fix: times.cue:5: " + c.times + "\n")
            << c.environment;
    }
}

} // namespace
} // namespace velmora::fix
