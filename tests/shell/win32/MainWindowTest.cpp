// First: the test storage's MoveFile is declared before <windows.h> can rename it to MoveFileW, as the
// window's header brings <windows.h> with the controls. Nothing here calls MoveFile.
// clang-format off
#include "tests/cue/TestSupport.h"
#include "shell/win32/MainWindow.h"
// clang-format on

#include "PeerProcess.h"
#include "graphics/win32/testing/DesktopInput.h"
#include "platform/win32/RegistryKeys.h"
#include "shell/win32/HandOverProtocol.h"
#include "tests/platform/win32/FakeRegistry.h"

#include <gtest/gtest.h>
#include <windows.h>
// shlobj.h needs the types of windows.h.
#include <atomic>
#include <commdlg.h>
#include <dlgs.h>
#include <optional>
#include <shlobj.h>
#include <thread>

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testkit::PumpFor;
using testkit::PumpUntil;

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

// A dialog of this process on the screen; one that is still being filled is not shown yet.
HWND ShownDialog() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM result) {
            wchar_t name[16] = {};
            DWORD process = 0;
            GetClassNameW(window, name, 16);
            if (lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(window) &&
                GetWindowThreadProcessId(window, &process) != 0 && process == GetCurrentProcessId()) {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// A dialog of this process is the chooser when it has a file name field, a message box otherwise.
bool IsChooser(HWND dialog) {
    return GetDlgItem(dialog, cmb13) != nullptr || GetDlgItem(dialog, edt1) != nullptr;
}

// The chooser's answer: the file typed into its name field and taken, or, for an empty name, the
// chooser cancelled. Gives what the test reads: the folder the chooser opened on.
std::wstring AnswerChooser(HWND chooser, const std::wstring& chosen) {
    wchar_t folder[MAX_PATH] = {};
    SendMessageW(chooser, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    if (chosen.empty()) {
        SendMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    } else {
        for (const int field : {cmb13, edt1}) {
            SetDlgItemTextW(chooser, field, chosen.c_str());
        }
        SendMessageW(chooser, WM_COMMAND, IDOK, 0);
    }
    return L"chooser in " + std::wstring(folder);
}

// Answers the dialogs of this process from another thread, as a user would, and keeps what they
// showed: a message box's text (answered OK), or the chooser's folder (answered with the next of
// `chosen`).
class DialogAnswerer {
public:
    explicit DialogAnswerer(std::vector<std::wstring> chosen = {})
        : chosen_(std::move(chosen)), thread_([this] {
              while (!stop_) {
                  if (const HWND dialog = ShownDialog(); dialog != nullptr) {
                      texts_.push_back(IsChooser(dialog) ? AnswerChooser(dialog, NextChosen())
                                                         : AnswerBox(dialog));
                  }
                  Sleep(20);
              }
          }) {}
    ~DialogAnswerer() {
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
    static std::wstring AnswerBox(HWND box) {
        std::wstring text = BoxText(box);
        SendMessageW(box, WM_COMMAND, IDOK, 0);
        return text;
    }
    std::wstring NextChosen() {
        if (answered_ >= chosen_.size()) {
            return {};
        }
        return chosen_[answered_++];
    }

    std::atomic<bool> stop_{false};
    std::vector<std::wstring> chosen_;
    std::size_t answered_ = 0;
    std::vector<std::wstring> texts_;
    std::thread thread_;
};

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

// The window of this process, over a registry in memory.
class WindowTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        window_.emplace(GetModuleHandleW(nullptr), L"C:\\velmora.exe", registry_);
    }
    void TearDown() override {
        window_.reset();
        MainWindowTest::TearDown();
    }

    int RowCount() const {
        return static_cast<int>(SendMessageW(window_->ListView1, LVM_GETITEMCOUNT, 0, 0));
    }
    void PumpUntilRows(int count) {
        PumpUntil([&] { return RowCount() >= count; }, 20000);
    }
    // What the box tells its window when clicked.
    void Click() const {
        SendMessageW(window_->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_->CheckBox1), BN_CLICKED),
                     reinterpret_cast<LPARAM>(window_->CheckBox1));
    }
    bool Ticked() const { return SendMessageW(window_->CheckBox1, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::optional<std::wstring> Registered(const std::wstring& key, const std::wstring& name) const {
        return registry_.ReadString(key, name);
    }

    FakeRegistry registry_;
    std::optional<MainWindow> window_;
};

TEST_F(WindowTest, ADropRepairsEachSheetAndWarnsOfTheRest) {
    MainWindow& window = *window_;
    wchar_t className[32] = {};
    GetClassNameW(window.Handle(), className, 32);
    EXPECT_STREQ(className, kMainWindowClass);

    DialogAnswerer boxes;
    PostMessageW(window.Handle(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({(folder_ / L"notes.txt").wstring(), sheet_.wstring()})),
                 0);
    PumpUntilRows(1);

    const std::vector<std::wstring> rows = RowTexts(window.ListView1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NE(rows[0].find(L"Björk — 東京.cue"), std::wstring::npos) << fs::path(rows[0]).string();
    EXPECT_NE(rows[0].find(L"=> GOOD"), std::wstring::npos) << fs::path(rows[0]).string();
    EXPECT_EQ(window.ProgressPosition(), 100);
    EXPECT_EQ(boxes.Texts(), std::vector<std::wstring>{L"notes.txt is not a valid CUE"});
}

// The lengths come from the files' own headers: the row of a sheet whose track starts past its audio
// keeps its caption, and its tip says where the audio ends, under the sheet's path.
TEST_F(WindowTest, ARowSaysWhenATrackStartsPastItsAudio) {
    MainWindow& window = *window_;
    const fs::path sheet = folder_ / L"short.cue";
    std::ofstream(sheet) << "FILE \"short.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n"
                            "  TRACK 02 AUDIO\r\n    INDEX 01 00:10:00\r\n";
    testkit::WriteWav((folder_ / L"short.wav").string(), 44100);

    DialogAnswerer boxes;
    window.Init(sheet.wstring());
    PumpUntilRows(1);

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

// The chooser opens where the last chosen sheet lies; a cancelled chooser runs nothing, and a
// disabled open link opens none.
TEST_F(WindowTest, TheChooserRunsTheChosenSheetAndOpensOnItsFolderNextTime) {
    DialogAnswerer dialogs({sheet_.wstring(), L""});
    window_->OpenCueFile();
    PumpUntilRows(1);
    window_->OpenCueFile();
    window_->SetOpenLinkEnabled(false);
    window_->OpenCueFile();
    PumpFor(300);

    EXPECT_EQ(RowTexts(window_->ListView1), std::vector<std::wstring>{L"Björk — 東京.cue => GOOD"});
    const std::vector<std::wstring> shown = dialogs.Texts();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].rfind(L"chooser in ", 0), 0u);
    EXPECT_EQ(fs::path(shown[1].substr(11)), folder_);
}

struct CheckBoxStep {
    const char* name;
    // WM_ACTIVATE when false.
    bool click;
    bool ticked;
    // The open command and the flag once the step is over; nothing when absent.
    std::optional<std::wstring> command;
    bool flag;
};

// The box follows the flag an earlier run left when the window is activated, and a click writes the
// association or points it back at Notepad.
TEST_F(WindowTest, TheCheckBoxFollowsTheFlagAndWritesTheAssociation) {
    const std::wstring ours = L"\"C:\\velmora.exe\" \"%1\"";
    const std::vector<CheckBoxStep> steps = {
        {"activated without a flag", false, false, std::nullopt, false},
        {"ticked", true, true, ours, true},
        {"unticked", true, false, kNotepadCommand, false},
        {"activated again", false, false, kNotepadCommand, false},
    };
    DialogAnswerer dialogs;
    for (const CheckBoxStep& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.click) {
            Click();
        } else {
            SendMessageW(window_->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
        }
        EXPECT_EQ(Ticked(), step.ticked);
        EXPECT_EQ(Registered(kCueCommandKey, L""), step.command);
        EXPECT_EQ(registry_.ValueExists(kSettingsKey, L"associate"), step.flag);
    }
    registry_.SetFlag(kSettingsKey, L"associate");
    SendMessageW(window_->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(Ticked());
    EXPECT_EQ(Registered(kCueCommandKey, L""), ours);
    EXPECT_TRUE(dialogs.Texts().empty());
}

// A settings key that cannot be made shows its box once, though closing the box activates the window
// again.
TEST_F(WindowTest, ARefusedSettingsKeyIsShownOnceOnActivation) {
    registry_.RefusedKeys = {kSettingsKey};
    DialogAnswerer dialogs;
    SendMessageW(window_->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    PumpFor(500);
    SendMessageW(window_->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(dialogs.Texts(),
              std::vector<std::wstring>{L"Failed to create key Software\\Dastrel\\Velmora."});
    EXPECT_FALSE(Ticked());
}

// The real program, twice: the second start hands its sheet to the first one's window and ends when
// the row is there.
TEST_F(MainWindowTest, ASecondStartOfTheProgramHandsItsSheetToTheWindow) {
    Peer first(kProgram, L"", folder_);
    HWND window = nullptr;
    PumpUntil([&] { return (window = FindWindowW(kMainWindowClass, nullptr)) != nullptr; }, 20000);
    ASSERT_NE(window, nullptr);

    EXPECT_EQ(Peer(kProgram, L"\"" + sheet_.wstring() + L"\"", folder_).Wait(), 0);
    const HWND list = FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.Wait(), 0);
}

} // namespace
} // namespace velmora
