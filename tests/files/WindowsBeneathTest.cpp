// Writes, moves and removals beneath a held folder on Windows, against the folders a download can hold.
// Wine makes no reparse points (its CreateSymbolicLinkW answers that it made one and makes nothing, and
// it sets no junction), but it follows the Linux links a folder unpacked on Linux holds without saying
// so: those stand for links here, and only a handle's final path tells them apart.
#include "errors/Error.h"
#include "errors/ErrorMessages.h"
#include "files/FileReading.h"
#include "files/StaleTemporaries.h"
#include "files/WritesBeneath.h"
#include "files/testing/ScratchFiles.h"
#include "files/win32/WidePaths.h"

#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace velmora {
namespace {

using testkit::FolderEntries;
using testkit::MakeLinuxLink;
using testkit::ReadFile;
using testkit::TempFolder;
using testkit::WriteFile;

std::string ErrorTextOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

DWORD LinksOf(const std::string& path) {
    WinHandle file(CreateFileW(WidePath(path).c_str(), 0,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    return file.valid() && GetFileInformationByHandle(file.get(), &info) ? info.nNumberOfLinks : 0;
}

// A folder to work in, "album", beside one that stands for the user's files, "home", which holds
// "secret.txt" and a folder "docs"; "album" holds "album.cue" and "a.flac".
struct Scene {
    TempFolder Root;
    std::string Album = Root / "album\\";
    std::string Home = Root / "home\\";
    Scene() {
        CreateDirectoryW(WidePath(Album).c_str(), nullptr);
        CreateDirectoryW(WidePath(Home).c_str(), nullptr);
        CreateDirectoryW(WidePath(Home + "docs").c_str(), nullptr);
        WriteFile(Home + "secret.txt", "secret");
        WriteFile(Album + "album.cue", "sheet");
        WriteFile(Album + "a.flac", "audio");
    }
    bool HomeUntouched() const {
        return ReadFile(Home + "secret.txt") == "secret" &&
               FolderEntries(Home) == std::vector<std::string>{"docs", "secret.txt"} &&
               FolderEntries(Home + "docs").empty();
    }
};

// Each case makes one link in "album", then acts and says what came of it: the error code of a move or
// removal, or the message a write throws.
TEST(WindowsBeneath, NamesThatLeadOutOfTheFolderAreRefusedAndNothingOutsideChanges) {
    using Act = std::function<std::string(const OpenFolder&)>;
    const auto code = [](std::error_code error) {
        return std::to_string(error.value());
    };
    const auto message = [](const OpenFolder& folder, const std::string& name, int error) {
        return CannotCreateMessage(folder.PathOf(name), error);
    };
    const struct {
        std::string Link;
        std::string Target;
        Act Acts;
        Act Expected;
    } cases[] = {
        {"link.cue", "../home/secret.txt",
         [&](const OpenFolder& f) { return code(RemoveBeneath(f, "link.cue")); },
         [&](const OpenFolder&) {
             return std::to_string(ELOOP);
         }},
        {"link.cue", "../home/secret.txt",
         [&](const OpenFolder& f) { return code(MoveBeneath(f, "link.cue", "moved.cue")); },
         [&](const OpenFolder&) {
             return std::to_string(ELOOP);
         }},
        {"sub", "../home/docs",
         [&](const OpenFolder& f) { return code(MoveBeneath(f, "a.flac", "sub/a.flac")); },
         [&](const OpenFolder&) {
             return std::to_string(ELOOP);
         }},
        {"sub", "../home",
         [&](const OpenFolder& f) { return code(MoveBeneath(f, "sub/secret.txt", "b.txt")); },
         [&](const OpenFolder&) {
             return std::to_string(ELOOP);
         }},
        {"sub", "../home", [&](const OpenFolder& f) { return code(RemoveBeneath(f, "sub/secret.txt")); },
         [&](const OpenFolder&) {
             return std::to_string(ELOOP);
         }},
        {"album.cue.bak", "../home/secret.txt",
         [&](const OpenFolder& f) {
             return ErrorTextOf(
                 [&] { BackupTemporaryBeneath(f, "album.cue.bak", "album.cue", "sheet", true); });
         },
         [&](const OpenFolder& f) {
             return message(f, "album.cue.bak", EEXIST);
         }},
        {"link.cue", "../home/secret.txt",
         [&](const OpenFolder& f) { return ErrorTextOf([&] { PlanSheetBeneath(f, "link.cue"); }); },
         [&](const OpenFolder& f) {
             return message(f, "link.cue", ELOOP);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Link + " -> " + c.Target);
        Scene scene;
        if (!MakeLinuxLink(scene.Album, c.Target, c.Link)) {
            GTEST_SKIP() << "no Linux links here";
        }
        const OpenFolder folder(scene.Album);
        EXPECT_EQ(c.Acts(folder), c.Expected(folder));
        EXPECT_TRUE(scene.HomeUntouched());
        EXPECT_EQ(ReadFile(scene.Album + "a.flac"), "audio");
    }
}

TEST(WindowsBeneath, AHeldFolderCanBeNeitherRenamedNorRemovedSoWritesStayInIt) {
    Scene scene;
    std::string album = scene.Album;
    album.pop_back();
    const OpenFolder folder(album);
    EXPECT_FALSE(MoveFileW(WidePath(album).c_str(), WidePath(scene.Root / "moved").c_str()));
    WriteBeneath(folder, "album.cue", PlanSheetBeneath(folder, "album.cue"), "new");
    EXPECT_EQ(ReadFile(scene.Album + "album.cue"), "new");
    EXPECT_TRUE(scene.HomeUntouched());
}

// A folder named through a link is the folder it leads to, as on Linux: the run writes where it lies.
TEST(WindowsBeneath, AFolderNamedThroughALinkIsWrittenWhereItLies) {
    Scene scene;
    if (!MakeLinuxLink(scene.Root.Path(), "album", "linked")) {
        GTEST_SKIP() << "no Linux links here";
    }
    const OpenFolder folder(scene.Root / "linked");
    ASSERT_EQ(folder.Refusal(), 0);
    WriteBeneath(folder, "album.cue", PlanSheetBeneath(folder, "album.cue"), "new");
    EXPECT_EQ(ReadFile(scene.Album + "album.cue"), "new");
    EXPECT_TRUE(folder.StillAtItsPath());
}

TEST(WindowsBeneath, TheBackupIsTheOldSheetLinkedUnlessTheSheetHasOtherNames) {
    for (const bool otherName : {false, true}) {
        SCOPED_TRACE(otherName ? "sheet with another name" : "sheet with one name");
        Scene scene;
        if (otherName) {
            ASSERT_TRUE(CreateHardLinkW(WidePath(scene.Home + "kept.cue").c_str(),
                                        WidePath(scene.Album + "album.cue").c_str(), nullptr));
        }
        const OpenFolder folder(scene.Album);
        const TemporaryBeneath backup =
            BackupTemporaryBeneath(folder, "album.cue.bak", "album.cue", "sheet", true);
        EXPECT_EQ(LinksOf(folder.PathOf(backup.Name)), otherName ? 1u : 2u);
        PutInPlaceBeneath(folder, backup.Name, "album.cue.bak");
        WriteBeneath(folder, "album.cue", PlanSheetBeneath(folder, "album.cue"), "new");
        EXPECT_EQ(ReadFile(scene.Album + "album.cue"), "new");
        EXPECT_EQ(ReadFile(scene.Album + "album.cue.bak"), "sheet");
        EXPECT_EQ(LinksOf(scene.Album + "album.cue.bak"), 1u);
        if (otherName) {
            EXPECT_EQ(ReadFile(scene.Home + "kept.cue"), "sheet");
        }
        EXPECT_EQ(FolderEntries(scene.Album),
                  (std::vector<std::string>{"a.flac", "album.cue", "album.cue.bak"}));
    }
}

// A downloaded backup that shares its file with one of the user's is replaced as a name, never written.
TEST(WindowsBeneath, ABackupHardLinkedToAFileOutsideIsReplacedNotWrittenThrough) {
    Scene scene;
    ASSERT_TRUE(CreateHardLinkW(WidePath(scene.Album + "album.cue.bak").c_str(),
                                WidePath(scene.Home + "secret.txt").c_str(), nullptr));
    const OpenFolder folder(scene.Album);
    PutInPlaceBeneath(folder,
                      BackupTemporaryBeneath(folder, "album.cue.bak", "album.cue", "sheet", true).Name,
                      "album.cue.bak");
    EXPECT_EQ(ReadFile(scene.Album + "album.cue.bak"), "sheet");
    EXPECT_TRUE(scene.HomeUntouched());
    EXPECT_EQ(LinksOf(scene.Home + "secret.txt"), 1u);
}

// The same test program, started again, plays another run: it holds a temporary, or sweeps.
constexpr const wchar_t* kRole = L"VELMORA_TEMPORARIES_ROLE";
constexpr const wchar_t* kFolder = L"VELMORA_TEMPORARIES_FOLDER";

std::string Variable(const wchar_t* name) {
    wchar_t value[1024] = L"";
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length == 0 || length >= 1024 ? std::string() : Utf8FromWide(value);
}

TEST(WindowsTemporariesRun, PlaysTheRunItIsAsked) {
    const std::string role = Variable(kRole);
    if (role.empty()) {
        GTEST_SKIP() << "started by WindowsTemporaries only";
    }
    const OpenFolder folder(Variable(kFolder));
    if (role == "sweep") {
        const TemporaryFolderClaim claim(folder.ClaimedName());
        return;
    }
    const TemporaryBeneath held = WriteTemporaryBeneath(folder, "album.cue", {}, "staged", true);
    WriteFile(folder.PathOf("held"), held.Name);
    Sleep(INFINITE);
}

struct OtherRun {
    PROCESS_INFORMATION Process{};
    OtherRun(const std::string& role, const std::string& folder) {
        wchar_t program[MAX_PATH] = L"";
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        SetEnvironmentVariableW(kRole, WideFromUtf8(role).c_str());
        SetEnvironmentVariableW(kFolder, WideFromUtf8(folder).c_str());
        std::wstring command = L"\"" + std::wstring(program) + L"\" --gtest_filter=WindowsTemporariesRun.*";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &Process));
        SetEnvironmentVariableW(kRole, nullptr);
    }
    ~OtherRun() {
        TerminateProcess(Process.hProcess, 1);
        WaitForSingleObject(Process.hProcess, INFINITE);
        CloseHandle(Process.hThread);
        CloseHandle(Process.hProcess);
    }
    DWORD Wait() const { return WaitForSingleObject(Process.hProcess, 60000); }
};

TEST(WindowsTemporaries, ALivingRunsTemporarySurvivesAnotherRunsSweepAndADeadRunsIsSwept) {
    TempFolder scratch;
    std::string temporary;
    {
        const OtherRun writer("hold", scratch.Path());
        for (int wait = 0;
             wait < 600 && GetFileAttributesW(WidePath(scratch / "held").c_str()) == INVALID_FILE_ATTRIBUTES;
             ++wait) {
            Sleep(50);
        }
        Sleep(100);
        temporary = ReadFile(scratch / "held");
        ASSERT_FALSE(temporary.empty());
        const OtherRun sweeper("sweep", scratch.Path());
        ASSERT_EQ(sweeper.Wait(), WAIT_OBJECT_0);
        EXPECT_EQ(FolderEntries(scratch.Path()), (std::vector<std::string>{temporary, "held"}));
        // Read as the engine reads staged files, sharing their deletion with the run that holds them.
        EXPECT_EQ(ReadFileWhole(scratch / temporary, 100, FinalLink::Refuse), "staged");
    }
    const OtherRun sweeper("sweep", scratch.Path());
    ASSERT_EQ(sweeper.Wait(), WAIT_OBJECT_0);
    EXPECT_EQ(FolderEntries(scratch.Path()), std::vector<std::string>{"held"});
}

} // namespace
} // namespace velmora
