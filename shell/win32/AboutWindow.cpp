#include "shell/win32/AboutWindow.h"

#include "files/win32/WidePaths.h"
#include "messages/AboutMarkup.h"
#include "messages/Messages.h"
#include "shell/win32/MakerAddresses.h"

namespace velmora {

namespace {

constexpr const wchar_t* kAboutWindowClass = L"TForm2";
constexpr int kOuterWidth = 332;
constexpr int kOuterHeight = 337;

// The caption-text colour of the classic scheme, white: today's Windows makes caption text black, and
// the window would be black with black text on it.
TColor Background() {
    return ClassicSysColor(clCaptionText & 0xFF);
}

// The window's colour and default font, as every control on it takes them, its text in the classic
// scheme's window text, which shows on that background whatever the desktop's scheme.
void Dress(MarkupWindow& control) {
    control.Configure([](MarkupSettings& settings) {
        settings.Color = Background();
        settings.Font = FontState();
        settings.Font.Color = ClassicSysColor(clWindowText & 0xFF);
    });
    control.SetTabStop(true);
}

void DressLabel(LabelWindow& label) {
    Dress(label);
    label.Configure([](MarkupSettings& settings) {
        settings.URLColor = clRed;
        settings.ShadowOffset = 2;
    });
}

} // namespace

AboutWindow::AboutWindow(HINSTANCE instance, HWND mainWindow) : mainWindow_(mainWindow) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    const TColor background = Background();
    background_ = CreateSolidBrush(RGB(RedOf(background), GreenOf(background), BlueOf(background)));
    windowClass.hbrBackground = background_;
    windowClass.lpszClassName = kAboutWindowClass;
    RegisterClassExW(&windowClass);
    // A sizeable border and a title bar without buttons: no system menu, no close box.
    const std::wstring caption = WideFromUtf8(Localized("About"));
    window_ = CreateWindowExW(WS_EX_DLGMODALFRAME, kAboutWindowClass, caption.c_str(),
                              WS_POPUP | WS_CAPTION | WS_THICKFRAME, 0, 0, kOuterWidth, kOuterHeight,
                              mainWindow, nullptr, instance, this);
    CreateTexts();
    BitBtn1 =
        CreateWindowExW(0, L"BUTTON", WideFromUtf8(Localized("OK")).c_str(),
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 128, 280, 75, 25, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), instance, nullptr);
    SendMessageW(BitBtn1, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}

AboutWindow::~AboutWindow() {
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    UnregisterClassW(kAboutWindowClass, GetModuleHandleW(nullptr));
    DeleteObject(background_);
}

void AboutWindow::CreateTexts() {
    const AboutMarkup texts = LocalizedAboutMarkup(kMakerSite, kAuthorMail, kGraphicsMail);
    HTMLStaticText1 = StaticTextWindow::Create(window_, RECT{8, 144, 321, 249}, 1);
    Dress(*HTMLStaticText1);
    HTMLStaticText1->HTMLText().Assign(MarkupLinesFromUtf8(texts.Notice));
    HTMLabel1 = LabelWindow::Create(window_, RECT{16, 256, 313, 273}, 2);
    DressLabel(*HTMLabel1);
    HTMLabel1->HTMLText().Assign(MarkupLinesFromUtf8(texts.Donation));
    HTMLabel2 = LabelWindow::Create(window_, RECT{248, 272, 313, 305}, 3);
    DressLabel(*HTMLabel2);
    HTMLabel2->HTMLText().Assign(MarkupLinesFromUtf8(texts.Thanks));
}

void AboutWindow::Show() {
    RECT main{};
    GetWindowRect(mainWindow_, &main);
    const int left = main.left + (main.right - main.left - kOuterWidth) / 2;
    const int top = main.top + (main.bottom - main.top - kOuterHeight) / 2;
    SetWindowPos(window_, HWND_TOP, left, top, kOuterWidth, kOuterHeight, SWP_SHOWWINDOW);
    SetFocus(BitBtn1);
    EnableWindow(mainWindow_, FALSE);
}

void AboutWindow::BitBtn1Click() {
    // Enabled first, so that the main window is there to take the activation back.
    EnableWindow(mainWindow_, TRUE);
    ShowWindow(window_, SW_HIDE);
    SetForegroundWindow(mainWindow_);
}

LRESULT CALLBACK AboutWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<AboutWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && self->BitBtn1 != nullptr) {
        // OK closes the window, and so does Alt+F4 although it shows no close box.
        if ((message == WM_COMMAND && LOWORD(wParam) == IDOK) || message == WM_CLOSE) {
            self->BitBtn1Click();
            return 0;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace velmora
