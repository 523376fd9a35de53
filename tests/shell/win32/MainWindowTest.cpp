#include "shell/win32/MainWindow.h"

#include "PeerProcess.h"
#include "platform/win32/RegistryKeys.h"
#include "shell/win32/HandOverProtocol.h"

#include <gtest/gtest.h>
#include <windows.h>
// shlobj.h needs the types of windows.h.
#include <atomic>
#include <shlobj.h>
#include <thread>

// windows.h's MoveFile macro would rename a method of the test storage; nothing here calls MoveFile.
#undef MoveFile
#include "tests/cue/TestSupport.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

// The velmora.exe of this build, from the test program's folder.
const fs::path kProgram = L"../../../shell/win32/velmora.exe";

// A drop as the shell makes it: DROPFILES with the wide paths after it, each ended by a NUL, the list by
// another. The window frees it with DragFinish.
HGLOBAL MakeDrop(const std::vector<std::wstring>& paths) {
    std::wstring names;
    for (const std::wstring& path : paths) {
        names += path + L'\0';
    }
    names += L'\0';
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::copy(names.begin(), names.end(), reinterpret_cast<wchar_t*>(drop + 1));
    GlobalUnlock(memory);
    return memory;
}

std::vector<std::wstring> RowTexts(HWND list) {
    std::vector<std::wstring> rows;
    const auto count = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[1024] = {};
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = 1024;
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        rows.emplace_back(text);
    }
    return rows;
}

// The message of a box: the text of its static control that has one (the icon's has none).
std::wstring BoxText(HWND box) {
    std::wstring found;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM result) {
            wchar_t name[16] = {};
            wchar_t text[1024] = {};
            GetClassNameW(child, name, 16);
            if (lstrcmpiW(name, L"Static") == 0 && GetWindowTextW(child, text, 1024) > 0) {
                *reinterpret_cast<std::wstring*>(result) = text;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Answers the message boxes of this process from another thread, as a user would, and keeps their texts.
class BoxAnswerer {
public:
    BoxAnswerer()
        : thread_([this] {
              while (!stop_) {
                  HWND box = FindWindowW(L"#32770", nullptr);
                  DWORD process = 0;
                  // Read once shown: the box is found while it is still being filled.
                  if (box != nullptr && IsWindowVisible(box) &&
                      GetWindowThreadProcessId(box, &process) != 0 && process == GetCurrentProcessId()) {
                      texts_.push_back(BoxText(box));
                      SendMessageW(box, WM_COMMAND, IDOK, 0);
                  }
                  Sleep(20);
              }
          }) {}
    ~BoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    std::vector<std::wstring> Texts() {
        stop_ = true;
        thread_.join();
        thread_ = std::thread([] {});
        return texts_;
    }

private:
    std::atomic<bool> stop_{false};
    std::vector<std::wstring> texts_;
    std::thread thread_;
};

void PumpUntil(const std::function<bool()>& done) {
    const ULONGLONG end = GetTickCount64() + 20000;
    while (!done() && GetTickCount64() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                            ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        wchar_t temporary[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temporary);
        folder_ = fs::path(temporary) / (L"velmora-window-" + std::to_wstring(GetCurrentProcessId()));
        fs::create_directories(folder_);
        sheet_ = folder_ / L"Björk — 東京.cue";
        std::ofstream(sheet_) << "FILE \"album.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n";
        std::ofstream(folder_ / L"album.wav") << "RIFF";
        std::ofstream(folder_ / L"notes.txt") << "not a sheet";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    fs::path folder_;
    fs::path sheet_;
};

TEST_F(MainWindowTest, ADropRepairsEachSheetAndWarnsOfTheRest) {
    CurrentUserRegistry registry;
    MainWindow window(GetModuleHandleW(nullptr), L"C:\\velmora.exe", registry);
    wchar_t className[32] = {};
    GetClassNameW(window.Handle(), className, 32);
    EXPECT_STREQ(className, kMainWindowClass);

    BoxAnswerer boxes;
    PostMessageW(window.Handle(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({(folder_ / L"notes.txt").wstring(), sheet_.wstring()})),
                 0);
    PumpUntil([&] { return SendMessageW(window.ListView1, LVM_GETITEMCOUNT, 0, 0) > 0; });

    const std::vector<std::wstring> rows = RowTexts(window.ListView1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NE(rows[0].find(L"Björk — 東京.cue"), std::wstring::npos) << fs::path(rows[0]).string();
    EXPECT_NE(rows[0].find(L"=> GOOD"), std::wstring::npos) << fs::path(rows[0]).string();
    EXPECT_EQ(window.ProgressPosition(), 100);
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{L"notes.txt is not a valid CUE"});
}

// The lengths come from the files' own headers: the row of a sheet whose track starts past its audio
// keeps its caption, and its tip says where the audio ends, under the sheet's path.
TEST_F(MainWindowTest, ARowSaysWhenATrackStartsPastItsAudio) {
    CurrentUserRegistry registry;
    MainWindow window(GetModuleHandleW(nullptr), L"C:\\velmora.exe", registry);
    const fs::path sheet = folder_ / L"short.cue";
    std::ofstream(sheet) << "FILE \"short.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n"
                            "  TRACK 02 AUDIO\r\n    INDEX 01 00:10:00\r\n";
    testkit::WriteWav((folder_ / L"short.wav").string(), 44100);

    BoxAnswerer boxes;
    window.Init(sheet.wstring());
    PumpUntil([&] { return SendMessageW(window.ListView1, LVM_GETITEMCOUNT, 0, 0) > 0; });

    ASSERT_EQ(RowTexts(window.ListView1), std::vector<std::wstring>{L"short.cue => GOOD"});
    const std::wstring details = window.RowDetails(0);
    EXPECT_EQ(details, sheet.wstring() +
                           L"\n\"short.wav\" on line 1 is too short for the sheet: track 2 starts at "
                           L"00:10:00, the audio lasts 00:01.00 (00:09.00 past its end).")
        << fs::path(details).string();

    wchar_t tip[16] = {};
    NMLVGETINFOTIPW request{};
    request.hdr.hwndFrom = window.ListView1;
    request.hdr.code = LVN_GETINFOTIPW;
    request.pszText = tip;
    request.cchTextMax = 16;
    request.iItem = 0;
    SendMessageW(window.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    EXPECT_EQ(std::wstring(tip), details.substr(0, 15));
    EXPECT_TRUE(boxes.Texts().empty());
}

// The real program, twice: the second start hands its sheet to the first one's window and ends when
// the row is there.
TEST_F(MainWindowTest, ASecondStartOfTheProgramHandsItsSheetToTheWindow) {
    Peer first(kProgram, L"", folder_);
    HWND window = nullptr;
    PumpUntil([&] { return (window = FindWindowW(kMainWindowClass, nullptr)) != nullptr; });
    ASSERT_NE(window, nullptr);

    EXPECT_EQ(Peer(kProgram, L"\"" + sheet_.wstring() + L"\"", folder_).Wait(), 0);
    const HWND list = FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.Wait(), 0);
}

} // namespace
} // namespace velmora
