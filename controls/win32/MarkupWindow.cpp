#include "controls/win32/MarkupWindow.h"

#include "graphics/win32/GdiCanvas.h"
#include "platform/win32/ShellLinks.h"

#include <windowsx.h>

namespace velmora {

namespace {

ControlKey ToControlKey(WPARAM key) {
    switch (key) {
    case VK_LEFT:
        return ControlKey::Left;
    case VK_UP:
        return ControlKey::Up;
    case VK_RIGHT:
        return ControlKey::Right;
    case VK_DOWN:
        return ControlKey::Down;
    case VK_RETURN:
        return ControlKey::Enter;
    case VK_SPACE:
        return ControlKey::Space;
    default:
        return ControlKey::Other;
    }
}

// A device context for measuring at the screen's resolution, given back when it goes.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() { ReleaseDC(nullptr, dc_); }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

} // namespace

MarkupWindow::MarkupWindow()
    : htmlText_([this] {
          view_.ForgetLayouts();
          TextChanged();
          if (window_ != nullptr) {
              InvalidateRect(window_, nullptr, FALSE);
          }
      }),
      view_(*this, settings_, hovering_) {}

MarkupWindow* MarkupWindow::From(HWND window) {
    if (window == nullptr ||
        GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Procedure)) {
        return nullptr;
    }
    return reinterpret_cast<MarkupWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void MarkupWindow::RegisterClassNamed(const wchar_t* className) {
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &info)) {
        return;
    }
    info.style = CS_DBLCLKS;
    info.lpfnWndProc = &Procedure;
    info.hInstance = GetModuleHandleW(nullptr);
    info.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    info.lpszClassName = className;
    RegisterClassExW(&info);
}

HWND MarkupWindow::CreateFor(MarkupWindow* control, const wchar_t* className, HWND parent, const RECT& bounds,
                             int id) {
    RegisterClassNamed(className);
    const HWND window = CreateWindowExW(
        0, className, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, bounds.left, bounds.top,
        bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), control);
    if (window == nullptr) {
        // Without a window nothing else would ever delete it.
        delete control;
    }
    return window;
}

void MarkupWindow::Configure(const std::function<void(MarkupSettings&)>& change) {
    change(settings_);
    view_.ForgetLayouts();
    InvalidateRect(window_, nullptr, FALSE);
}

Rect MarkupWindow::ClientRect() const {
    const Size size = ClientSize();
    return {0, 0, size.Width, size.Height};
}

PaintState MarkupWindow::CurrentPaintState() const {
    POINT mouse{};
    GetCursorPos(&mouse);
    ScreenToClient(window_, &mouse);
    return {ClientRect(), {mouse.x, mouse.y}, GetFocus() == window_, IsWindowEnabled(window_) != FALSE};
}

void MarkupWindow::SetCursorShape(ControlCursor cursor) {
    cursor_ = cursor;
    SetCursor(LoadCursorW(nullptr, cursor == ControlCursor::Hand ? IDC_HAND : IDC_ARROW));
}

void MarkupWindow::OpenLink(const std::string& anchor, const AnchorEvent& event) const {
    if (IsShellTarget(anchor)) {
        ShellOpen(anchor, htmlText_.Encoding());
    } else {
        Raise(event, anchor);
    }
}

void MarkupWindow::Raise(const AnchorEvent& event, const std::string& anchor) const {
    if (event) {
        event(anchor);
    }
}

void MarkupWindow::InvalidateArea(const Rect& r) const {
    const RECT area{r.Left, r.Top, r.Right, r.Bottom};
    InvalidateRect(window_, &area, FALSE);
}

void MarkupWindow::PaintWholeNow() const {
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void MarkupWindow::WithMeasureCanvas(const std::function<void(Canvas&)>& use) {
    const ScreenDc screen;
    const HDC memory = CreateCompatibleDC(screen.Get());
    {
        GdiCanvas canvas(memory);
        canvas.SetFont(settings_.Font);
        canvas.SetBrushColor(settings_.Color);
        use(canvas);
    }
    DeleteDC(memory);
}

Size MarkupWindow::ClientSize() const {
    RECT client{};
    GetClientRect(window_, &client);
    return {client.right, client.bottom};
}

std::int32_t MarkupWindow::DpiX() const {
    return GetDeviceCaps(ScreenDc().Get(), LOGPIXELSX);
}

std::int32_t MarkupWindow::DpiY() const {
    return GetDeviceCaps(ScreenDc().Get(), LOGPIXELSY);
}

void MarkupWindow::Resize(Size size) {
    SetWindowPos(window_, nullptr, 0, 0, size.Width, size.Height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MarkupWindow::PaintBuffered(HDC target) {
    const Rect client = ClientRect();
    if (client.IsEmpty()) {
        return;
    }
    const HDC memory = CreateCompatibleDC(target);
    const HBITMAP bitmap = CreateCompatibleBitmap(target, client.Right, client.Bottom);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    // What a transparent control leaves shows the dialog face it sits on.
    const RECT whole{0, 0, client.Right, client.Bottom};
    FillRect(memory, &whole, GetSysColorBrush(COLOR_BTNFACE));
    {
        GdiCanvas canvas(memory);
        Paint(canvas, CurrentPaintState());
    }
    BitBlt(target, 0, 0, client.Right, client.Bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

LRESULT CALLBACK MarkupWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* control = static_cast<MarkupWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        control->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    }
    auto* control = reinterpret_cast<MarkupWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (control == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        delete control;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return control->Handle(message, wParam, lParam);
}

LRESULT MarkupWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const std::int32_t x = GET_X_LPARAM(lParam);
    const std::int32_t y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        const HDC dc = BeginPaint(window_, &paint);
        PaintBuffered(dc);
        EndPaint(window_, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintBuffered(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SIZE:
        InvalidateRect(window_, nullptr, FALSE);
        return 0;
    case WM_MOUSEMOVE:
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window_, 0};
            tracking_ = TrackMouseEvent(&track) != FALSE;
            MouseEntered(x, y);
        }
        MouseMoved(x, y);
        return 0;
    case WM_MOUSELEAVE:
        tracking_ = false;
        MouseLeft();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (tabStop_) {
            SetFocus(window_);
        }
        MousePressed(x, y);
        return 0;
    case WM_LBUTTONUP:
        MouseReleased();
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursorShape(cursor_);
            return TRUE;
        }
        break;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    case WM_KEYDOWN:
        if (KeyPressed(ToControlKey(wParam))) {
            return 0;
        }
        break;
    case WM_SETFOCUS:
        FocusChanged(true);
        return 0;
    case WM_KILLFOCUS:
        FocusChanged(false);
        return 0;
    case WM_TIMER:
        Ticked();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

} // namespace velmora
