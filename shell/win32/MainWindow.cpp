#include "shell/win32/MainWindow.h"

#include "cue/repair/Repair.h"
#include "cue/repair/RowReport.h"
#include "errors/ErrorMessages.h"
#include "files/PathNames.h"
#include "files/win32/WidePaths.h"
#include "messages/Messages.h"
#include "shell/win32/HandOverProtocol.h"
#include "shell/win32/MakerAddresses.h"
#include "shell/win32/ResourceIds.h"

#include <algorithm>
#include <commdlg.h>
#include <shellapi.h>
#include <utility>

namespace velmora {

namespace {

constexpr UINT kRunPendingMessage = WM_APP + 1;
constexpr int kCheckBoxId = 101;

std::wstring Wide(const std::string& utf8) {
    return WideFromUtf8(utf8);
}

HWND Child(HWND parent, const wchar_t* windowClass, const std::wstring& text, DWORD style, RECT area,
           int id = 0) {
    return CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, area.left, area.top,
                           area.right - area.left, area.bottom - area.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                           nullptr);
}

// The chooser's filter: pairs of description and pattern, each ended by a NUL, the list by another.
std::wstring FilterText(const FileFilterList& filters) {
    std::wstring text;
    for (const FileFilter& filter : filters) {
        text += Wide(filter.Description) + L'\0' + Wide(filter.Pattern) + L'\0';
    }
    return text + L'\0';
}

// The error box's title: the program file's name up to its first dot, capitalised ("Velmora").
std::wstring ProgramTitle() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name = path;
    name = name.substr(name.find_last_of(L"\\/") + 1);
    name = name.substr(0, name.find(L'.'));
    if (!name.empty()) {
        CharLowerBuffW(name.data() + 1, static_cast<DWORD>(name.size() - 1));
        CharUpperBuffW(name.data(), 1);
    }
    return name;
}

// A link of the window: its text bold, red and underlined on `background`, with the hand over it.
LabelWindow* LinkLabel(HWND parent, const std::string& text, TColor background, RECT area) {
    LabelWindow* label = LabelWindow::Create(parent, area, 0);
    label->Configure([background](MarkupSettings& settings) {
        settings.Color = background;
        settings.URLColor = clRed;
    });
    label->HTMLText().Assign(MarkupLinesFromUtf8({"<B><A href=\"link\">" + text + "</A></B>"}));
    return label;
}

} // namespace

MainWindow::MainWindow(HINSTANCE instance, std::wstring programPath, RegistryKeys& registry)
    : window_(CreateFrame(instance, this)), association_(std::move(programPath), registry),
      runs_(window_, kRunPendingMessage,
            [this](const std::vector<std::wstring>& paths) { RunBatch(paths); }) {
    CreateControls();
    Form2 = std::make_unique<AboutWindow>(instance, window_);
}

HWND MainWindow::CreateFrame(HINSTANCE instance, MainWindow* self) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kProgramIconId));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMainWindowClass;
    RegisterClassExW(&windowClass);

    RECT frame{0, 0, 492, 323};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    AdjustWindowRect(&frame, style, FALSE);
    const std::wstring caption = Wide(Localized("Velmora Version 1.0 - %s", {kMakerHost}));
    return CreateWindowExW(WS_EX_ACCEPTFILES, kMainWindowClass, caption.c_str(), style, CW_USEDEFAULT,
                           CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                           nullptr, instance, self);
}

MainWindow::~MainWindow() {
    // The About window first: it belongs to this window, which would take it along.
    Form2.reset();
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    if (images_ != nullptr) {
        ImageList_Destroy(images_);
    }
}

void MainWindow::CreateControls() {
    Child(window_, L"STATIC", Wide(Localized("Please Drag & Drop your .cue files here")),
          SS_CENTER | SS_NOPREFIX, kMarkupLabels);

    ListView1 = Child(window_, WC_LISTVIEWW, L"", LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | WS_BORDER,
                      RECT{0, 144, 492, 249});
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 470;
    SendMessageW(ListView1, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageW(ListView1, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_INFOTIP, LVS_EX_INFOTIP);
    images_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0);
    for (const int icon : {kBadIconId, kCorrectedIconId, kGoodIconId}) {
        const auto handle = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(icon),
                                                          IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
        ImageList_AddIcon(images_, handle);
        DestroyIcon(handle);
    }
    SendMessageW(ListView1, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images_));

    ProgressBar1 = Child(window_, PROGRESS_CLASSW, L"", 0, RECT{0, 256, 497, 272});
    SendMessageW(ProgressBar1, PBM_SETRANGE32, 0, 100);
    CheckBox1 = Child(window_, L"BUTTON", Wide(Localized("Associate .cue extension with Velmora")),
                      BS_CHECKBOX, RECT{8, 280, 217, 297}, kCheckBoxId);

    Label2 = LinkLabel(window_, Localized("About"), clBtnFace, RECT{448, 280, 482, 293});
    Label2->OnAnchorClick = [this](const std::string&) {
        Label2Click();
    };
    Label3 = LinkLabel(window_, Localized("Open a Cue File"), clWhite, RECT{336, 280, 428, 293});
    Label3->OnAnchorClick = [this](const std::string&) {
        OpenCueFile();
    };

    const auto font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    EnumChildWindows(
        window_,
        [](HWND child, LPARAM chosen) {
            SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(chosen), FALSE);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(font));
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    // Until its controls exist the window is still being made, and the members after window_ with it.
    if (self == nullptr || self->CheckBox1 == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COPYDATA:
        return ReceiveHandOver(*reinterpret_cast<const COPYDATASTRUCT*>(lParam), runs_,
                               [this] { SetForegroundWindow(window_); });
    case kRunPendingMessage:
        runs_.RunPending();
        return 0;
    case WM_DROPFILES:
        TakeDrop(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            FormActivate();
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == kCheckBoxId && HIWORD(wParam) == BN_CLICKED) {
            const bool ticked = SendMessageW(CheckBox1, BM_GETCHECK, 0, 0) == BST_CHECKED;
            SendMessageW(CheckBox1, BM_SETCHECK, ticked ? BST_UNCHECKED : BST_CHECKED, 0);
            CheckBox1Click();
            return 0;
        }
        break;
    case WM_NOTIFY: {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.hwndFrom == ListView1 && header.code == LVN_GETINFOTIPW) {
            FillRowTip(*reinterpret_cast<NMLVGETINFOTIPW*>(lParam));
            return 0;
        }
        break;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::Init(const std::wstring& path, std::function<void()> done) {
    SetForegroundWindow(window_);
    runs_.Queue({path}, std::move(done));
}

void MainWindow::OpenCueFile() {
    if (!openLinkEnabled_) {
        return;
    }
    const auto chosen = ChooseFile({{Localized("Cue File"), "*.cue"}}, state_.CueFolder);
    if (chosen) {
        state_.CueFolder = std::string(FolderPart(*chosen));
        runs_.Queue({WideFromUtf8(*chosen)}, {});
    }
}

void MainWindow::TakeDrop(HDROP drop) {
    std::vector<std::wstring> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(std::move(path));
    }
    DragFinish(drop);
    if (!paths.empty()) {
        runs_.Queue(std::move(paths), {});
    }
}

// An error ends the batch it arose in (the rest of that drop is dropped) with the error box; batches
// queued behind it run afterwards.
void MainWindow::RunBatch(const std::vector<std::wstring>& paths) {
    try {
        for (const std::wstring& path : paths) {
            state_.CuePath = Utf8FromWide(path);
            traitementCUE(state_, *this);
        }
    } catch (const std::exception& error) {
        ShowError(error.what());
    }
}

void MainWindow::FormActivate() {
    try {
        association_.CreateSettingsKey();
    } catch (const std::exception& error) {
        // Closing the box activates the window again: the same failure is shown once, not in a loop.
        if (lastActivateError_ != error.what()) {
            lastActivateError_ = error.what();
            ShowError(error.what());
        }
        return;
    }
    lastActivateError_.clear();
    const bool flag = association_.FlagExists();
    const bool ticked = SendMessageW(CheckBox1, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (flag != ticked) {
        SendMessageW(CheckBox1, BM_SETCHECK, flag ? BST_CHECKED : BST_UNCHECKED, 0);
        CheckBox1Click();
    }
}

void MainWindow::CheckBox1Click() {
    try {
        if (SendMessageW(CheckBox1, BM_GETCHECK, 0, 0) == BST_CHECKED) {
            association_.Associate();
        } else {
            association_.Dissociate();
        }
    } catch (const std::exception& error) {
        ShowError(error.what());
    }
}

void MainWindow::ShowError(const std::string& message) {
    MessageBoxW(window_, Wide(ErrorBoxText(message)).c_str(), ProgramTitle().c_str(), MB_OK | MB_ICONERROR);
}

void MainWindow::SetOpenLinkEnabled(bool enabled) {
    openLinkEnabled_ = enabled;
    EnableWindow(Label3->Handle(), enabled ? TRUE : FALSE);
}

void MainWindow::Label2Click() {
    Form2->Show();
}

int MainWindow::ProgressPosition() const {
    return static_cast<int>(SendMessageW(ProgressBar1, PBM_GETPOS, 0, 0));
}

void MainWindow::SetProgressPosition(int position) {
    SendMessageW(ProgressBar1, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void MainWindow::PumpEvents() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void MainWindow::ShowWarning(const std::string& text) {
    MessageBoxW(window_, Wide(text).c_str(), Wide(Localized("Warning")).c_str(), MB_OK | MB_ICONWARNING);
}

void MainWindow::AddResultRow(const std::string& caption, int iconIndex) {
    const std::wstring text = Wide(caption);
    LVITEMW row{};
    row.mask = LVIF_TEXT | LVIF_IMAGE;
    row.iItem = static_cast<int>(SendMessageW(ListView1, LVM_GETITEMCOUNT, 0, 0));
    row.pszText = const_cast<wchar_t*>(text.c_str());
    row.iImage = iconIndex;
    const auto index = SendMessageW(ListView1, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
    SendMessageW(ListView1, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void MainWindow::DescribeResultRow(const RowReport& report) {
    const auto row = static_cast<std::size_t>(SendMessageW(ListView1, LVM_GETITEMCOUNT, 0, 0));
    if (row == 0) {
        return;
    }
    rowDetails_.resize(row);
    rowDetails_[row - 1] = Wide(state_.CuePath + "\n" + RowReasonsText(report));
}

std::wstring MainWindow::RowDetails(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rowDetails_.size()) {
        return {};
    }
    return rowDetails_[static_cast<std::size_t>(row)];
}

// The list asks for the tip of the row under the mouse; a longer text than its buffer is cut short.
void MainWindow::FillRowTip(NMLVGETINFOTIPW& request) const {
    const std::wstring details = RowDetails(request.iItem);
    if (details.empty() || request.pszText == nullptr || request.cchTextMax <= 0) {
        return;
    }
    const std::size_t room = static_cast<std::size_t>(request.cchTextMax) - 1;
    const std::size_t length = std::min(details.size(), room);
    std::copy_n(details.data(), length, request.pszText);
    request.pszText[length] = L'\0';
}

std::optional<std::string> MainWindow::ChooseFile(const FileFilterList& filters,
                                                  const std::string& initialFolder) {
    const std::wstring filterText = FilterText(filters);
    const std::wstring folder = Wide(initialFolder);
    std::wstring chosen(kLongestPath + 1, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = filterText.c_str();
    dialog.lpstrFile = chosen.data();
    dialog.nMaxFile = static_cast<DWORD>(chosen.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetOpenFileNameW(&dialog)) {
        return std::nullopt;
    }
    chosen.resize(chosen.find(L'\0'));
    return Utf8FromWide(chosen);
}

std::uint32_t MainWindow::TickCount() {
    return static_cast<std::uint32_t>(GetTickCount64());
}

} // namespace velmora
