#include "errors/Error.h"
#include "files/FileMoves.h"
#include "files/FileReading.h"
#include "files/FileStatus.h"
#include "files/FolderEntries.h"
#include "files/PathNames.h"
#include "files/StaleTemporaries.h"
#include "files/testing/ScratchFiles.h"
#include "files/win32/WidePaths.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>

namespace velmora {
namespace {

using testkit::FolderEntries;
using testkit::ReadFile;
using testkit::TempFolder;
using testkit::WriteFile;

DWORD AttributesOf(const std::string& path) {
    return GetFileAttributesW(WidePath(path).c_str());
}

bool IsLink(const std::string& path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// A symbolic link made through Windows' own call; false where the system makes none (Wine 8 answers
// that it made one and makes nothing, so the cases with links run on Windows only).
bool MakeLink(const std::string& link, const std::string& target, bool folder = false) {
    const DWORD flags =
        (folder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0) | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
    return CreateSymbolicLinkW(WidePath(link).c_str(), WidePath(target).c_str(), flags) && IsLink(link);
}

std::string ErrorTextOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

TEST(WindowsPaths, TheFolderOfAPathTakesEitherSeparator) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Music\\album.cue", "C:\\Music"},
        {"C:\\album.cue", "C:\\"},
        {"Music/Disc 1\\album.cue", "Music/Disc 1"},
        {"Music\\Disc 1/album.cue", "Music\\Disc 1"},
        {"album.cue", "."},
        {"\\album.cue", "\\"},
        {"\\\\?\\C:\\album.cue", "\\\\?\\C:\\"},
        {"\\\\?\\C:\\Music\\album.cue", "\\\\?\\C:\\Music"},
    };
    for (const auto& [path, folder] : cases) {
        EXPECT_EQ(ContainingFolder(path), folder) << path;
    }
}

TEST(WindowsPaths, WidePathsTakeTheLongPrefixOnlyPastMaxPath) {
    const std::string shortPath = "C:\\Music\\album.cue";
    EXPECT_EQ(WidePath(shortPath), L"C:\\Music\\album.cue");
    const std::string longPath = "C:\\" + std::string(120, 'a') + "/" + std::string(120, 'b') + "\\..\\" +
                                 std::string(40, 'c') + "\\d.cue";
    const std::wstring wide = WidePath(longPath);
    EXPECT_EQ(wide, L"\\\\?\\C:\\" + std::wstring(120, L'a') + L"\\" + std::wstring(40, L'c') + L"\\d.cue");
    EXPECT_EQ(Utf8FromWide(WideFromUtf8("Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC")),
              "Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC");
}

TEST(WindowsMoves, RenameButNeverReplace) {
    TempFolder folder;
    CreateDirectoryW(WidePath(folder / "sub").c_str(), nullptr);
    const struct {
        std::string from;
        std::string to;
        int error;
    } cases[] = {
        {"image.bin", "moved.bin", 0},      {"image.bin", "taken.bin", EEXIST},
        {"image.bin", "sub\\moved.bin", 0}, {"image.bin", "sub/moved.bin", 0},
        {"sub", "folder.bin", EISDIR},      {"missing.bin", "moved.bin", ENOENT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from + " -> " + c.to);
        WriteFile(folder / "image.bin", "image");
        WriteFile(folder / "taken.bin", "taken");
        EXPECT_EQ(MoveFileNoReplace(folder / c.from, folder / c.to).value(), c.error);
        if (c.error == 0) {
            EXPECT_EQ(ReadFile(folder / c.to), "image");
            EXPECT_EQ(EntryKindOf(folder / c.from), EntryKind::Missing);
            RemoveFile(folder / c.to);
        }
        EXPECT_EQ(ReadFile(folder / "taken.bin"), "taken");
    }
}

// /dev/shm is another Linux file system, so Windows sees another volume: the move copies, flushes,
// names the copy without replacing and only then removes the source.
TEST(WindowsMoves, AcrossVolumesCopyThenRemoveAndNeverReplace) {
    const DWORD shm = AttributesOf("Z:\\dev\\shm");
    if (shm == INVALID_FILE_ATTRIBUTES || (shm & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        GTEST_SKIP() << "no second volume";
    }
    TempFolder source("Z:\\dev\\shm");
    TempFolder target;
    const std::string image(3 << 16, 'i');
    WriteFile(source / "image.bin", image);
    WriteFile(target / "taken.bin", "taken");
    EXPECT_EQ(MoveFileNoReplace(source / "image.bin", target / "taken.bin").value(), EEXIST);
    EXPECT_EQ(ReadFile(target / "taken.bin"), "taken");
    EXPECT_EQ(MoveFileNoReplace(source / "image.bin", target / "disc.bin").value(), 0);
    EXPECT_EQ(ReadFile(target / "disc.bin"), image);
    EXPECT_EQ(FolderEntries(source.Path()), std::vector<std::string>{});
    EXPECT_EQ(FolderEntries(target.Path()), (std::vector<std::string>{"disc.bin", "taken.bin"}));
}

TEST(WindowsWrites, ReplaceContentAtomicallyAndKeepTheAttributes) {
    TempFolder folder;
    WriteFile(folder / "album.cue", "old");
    SetFileAttributesW(WidePath(folder / "album.cue").c_str(), FILE_ATTRIBUTE_HIDDEN);
    WriteFileAtomically(folder / "album.cue", "new");
    EXPECT_EQ(ReadFile(folder / "album.cue"), "new");
    EXPECT_NE(AttributesOf(folder / "album.cue") & FILE_ATTRIBUTE_HIDDEN, 0u);
    WriteFileAtomically(folder / "fresh.cue", "fresh");
    EXPECT_EQ(ReadFile(folder / "fresh.cue"), "fresh");
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{"album.cue", "fresh.cue"}));
}

TEST(WindowsWrites, ReadOnlyFilesAndFoldersAreRefusedWithTheirName) {
    TempFolder folder;
    WriteFile(folder / "album.cue", "old");
    SetFileAttributesW(WidePath(folder / "album.cue").c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryW(WidePath(folder / "folder.cue").c_str(), nullptr);
    for (const std::string name : {"album.cue", "folder.cue"}) {
        const std::string message = ErrorTextOf([&] { WriteFileAtomically(folder / name, "new"); });
        EXPECT_NE(message.find("\"" + folder / name + "\""), std::string::npos) << message;
        EXPECT_NE(message.find("fichier"), std::string::npos) << message;
    }
    SetFileAttributesW(WidePath(folder / "album.cue").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFile(folder / "album.cue"), "old");
}

TEST(WindowsWrites, ASheetThroughALinkIsWrittenWhereTheLinkPointsAndTheLinkStays) {
    TempFolder folder;
    WriteFile(folder / "real.cue", "old");
    if (!MakeLink(folder / "album.cue", folder / "real.cue")) {
        GTEST_SKIP() << "no symbolic links here";
    }
    WriteFileAtomically(folder / "album.cue", "new");
    EXPECT_TRUE(IsLink(folder / "album.cue"));
    EXPECT_EQ(ReadFile(folder / "real.cue"), "new");
}

TEST(WindowsWrites, ABackupIsNeverWrittenThroughALinkOrAFolder) {
    TempFolder folder;
    WriteFile(folder / "album.cue", "sheet");
    WriteFile(folder / "elsewhere.txt", "keep");
    CreateDirectoryW(WidePath(folder / "folder.cue.bak").c_str(), nullptr);
    const bool linked = MakeLink(folder / "album.cue.bak", folder / "elsewhere.txt");
    const bool folderLinked = MakeLink(folder / "dir.cue.bak", folder / "folder.cue.bak", true);
    for (const auto& [backup, made] :
         {std::pair{std::string("album.cue.bak"), linked}, std::pair{std::string("folder.cue.bak"), true},
          std::pair{std::string("dir.cue.bak"), folderLinked}}) {
        if (!made) {
            continue;
        }
        SCOPED_TRACE(backup);
        const std::string message =
            ErrorTextOf([&] { WriteBackupFile(folder / backup, "sheet", folder / "album.cue"); });
        EXPECT_NE(message.find("\"" + folder / backup + "\""), std::string::npos) << message;
    }
    EXPECT_EQ(ReadFile(folder / "elsewhere.txt"), "keep");
    if (linked) {
        EXPECT_TRUE(IsLink(folder / "album.cue.bak"));
    }
    WriteBackupFile(folder / "other.cue.bak", "sheet", folder / "album.cue");
    EXPECT_EQ(ReadFile(folder / "other.cue.bak"), "sheet");
}

// Past MAX_PATH every operation still finds its files, through the long-path prefix.
TEST(WindowsWrites, PathsLongerThanMaxPathWork) {
    TempFolder folder;
    std::string deep = folder.Path();
    while (deep.size() < 300) {
        deep += std::string(60, 'd') + "\\";
        ASSERT_TRUE(CreateDirectoryW(WidePath(deep).c_str(), nullptr)) << GetLastError();
    }
    WriteFileAtomically(deep + "album.cue", "sheet");
    WriteBackupFile(deep + "album.cue.bak", "sheet", deep + "album.cue");
    EXPECT_EQ(ReadFileWhole(deep + "album.cue", 100, FinalLink::Refuse), "sheet");
    WriteFileAtomically(deep + "image.bin", "image");
    EXPECT_EQ(MoveFileNoReplace(deep + "image.bin", deep + "disc.bin").value(), 0);
    EXPECT_EQ(RegularFilesIn(deep), (std::vector<std::string>{"album.cue", "album.cue.bak", "disc.bin"}));
    EXPECT_EQ(RegularFileSize(deep + "disc.bin"), 5u);
    EXPECT_TRUE(RegularFileExists(deep + "disc.bin"));
}

// Names are UTF-8 in the engine and UTF-16 on disk: what is written under a name is found under it.
TEST(WindowsWrites, NamesGoToDiskAsTheirUnicodeCharacters) {
    TempFolder folder;
    const std::string names[] = {"Caf\xC3\xA9.cue", "\xE6\x97\xA5\xE6\x9C\xAC.bin",
                                 "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F.wav"};
    for (const std::string& name : names) {
        WriteFileAtomically(folder / name, name);
        EXPECT_EQ(ReadFileWhole(folder / name, 100, FinalLink::Follow), name);
        WIN32_FIND_DATAW found{};
        const HANDLE search =
            FindFirstFileW((WideFromUtf8(folder.Path()) + WideFromUtf8(name)).c_str(), &found);
        ASSERT_NE(search, INVALID_HANDLE_VALUE) << name;
        FindClose(search);
        EXPECT_EQ(Utf8FromWide(found.cFileName), name);
    }
    EXPECT_EQ(RegularFilesIn(folder.Path()).size(), 3u);
}

TEST(WindowsReads, WhatIsNoRegularFileIsRefused) {
    TempFolder folder;
    WriteFile(folder / "album.cue", "sheet");
    WriteFile(folder / "big.cue", std::string(200, 'x'));
    CreateDirectoryW(WidePath(folder / "folder.cue").c_str(), nullptr);
    const bool linked = MakeLink(folder / "link.cue", folder / "album.cue");
    EXPECT_EQ(ReadFileWhole(folder / "missing.cue", 100, FinalLink::Follow), std::nullopt);
    EXPECT_NE(ErrorTextOf([&] { ReadFileWhole(folder / "folder.cue", 100, FinalLink::Follow); }), "");
    EXPECT_NE(ErrorTextOf([&] { ReadFileWhole(folder / "big.cue", 100, FinalLink::Follow); }), "");
    EXPECT_EQ(EntryKindOf(folder / "folder.cue"), EntryKind::Folder);
    EXPECT_EQ(RegularFileSize(folder / "folder.cue"), std::nullopt);
    if (linked) {
        EXPECT_EQ(ReadFileWhole(folder / "link.cue", 100, FinalLink::Follow), "sheet");
        EXPECT_NE(ErrorTextOf([&] { ReadFileWhole(folder / "link.cue", 100, FinalLink::Refuse); }), "");
        EXPECT_EQ(EntryKindOf(folder / "link.cue"), EntryKind::Other);
    }
}

TEST(WindowsTemporaries, OnlyOurOwnStaleOnesAreSweptAway) {
    TempFolder folder;
    const std::string stale = ".album.cue.0123456789abcdef.tmp";
    const std::string fresh = ".album.cue.fedcba9876543210.tmp";
    const std::string notOurs = ".album.cue.notours.tmp";
    for (const std::string& name : {stale, fresh, notOurs}) {
        WriteFile(folder / name, "");
    }
    FILETIME old{};
    SYSTEMTIME year2000{2000, 1, 6, 1, 0, 0, 0, 0};
    SystemTimeToFileTime(&year2000, &old);
    for (const std::string& name : {stale, notOurs}) {
        const HANDLE file = CreateFileW(WidePath(folder / name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        SetFileTime(file, nullptr, nullptr, &old);
        CloseHandle(file);
    }
    std::string folderPath = folder.Path();
    folderPath.pop_back();
    SweepStaleTemporaries(folderPath);
    EXPECT_EQ(FolderEntries(folder.Path()), (std::vector<std::string>{fresh, notOurs}));
}

} // namespace
} // namespace velmora
