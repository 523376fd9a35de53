#pragma once

#include "controls/core/MarkupDrawing.h"
#include "controls/core/TextLines.h"
#include "graphics/win32/GdiHeaders.h"

#include <functional>
#include <string>

namespace velmora {

// A link event of a markup window, with the link's target.
using AnchorEvent = std::function<void(const std::string& anchor)>;

// What the label and the static text share as Win32 windows: the settings, the text, the hover state
// and the view over them, the double-buffered paint, and the mouse, cursor, key and focus messages,
// handed to the kind's core. The object belongs to its window and goes with it (WM_NCDESTROY).
class MarkupWindow : private MarkupSurface {
public:
    MarkupWindow(const MarkupWindow&) = delete;
    MarkupWindow& operator=(const MarkupWindow&) = delete;

    HWND Handle() const { return window_; }
    // The window of this class, or nothing for another window.
    static MarkupWindow* From(HWND window);

    const MarkupSettings& Settings() const { return settings_; }
    // Changes settings; the text is laid out and painted again.
    void Configure(const std::function<void(MarkupSettings&)>& change);
    TextLines& HTMLText() { return htmlText_; }
    const AnchorHover& Hovering() const { return hovering_; }
    // Whether a click or Tab gives the window the keyboard focus.
    void SetTabStop(bool on) { tabStop_ = on; }
    MarkupView& View() { return view_; }

    AnchorEvent OnAnchorClick;
    AnchorEvent OnAnchorEnter;
    AnchorEvent OnAnchorExit;

protected:
    template <typename, typename> friend class MarkupWindowHost;

    MarkupWindow();
    ~MarkupWindow() override = default;

    // Makes the window of a registered class with this object behind it.
    static HWND CreateFor(MarkupWindow* control, const wchar_t* className, HWND parent, const RECT& bounds,
                          int id);
    // Registers a class whose windows are MarkupWindows; once per class name.
    static void RegisterClassNamed(const wchar_t* className);

    Rect ClientRect() const;
    PaintState CurrentPaintState() const;
    bool ShowsHandCursor() const { return cursor_ == ControlCursor::Hand; }
    void SetCursorShape(ControlCursor cursor);
    // Web and mail links go to the desktop, whose failure is ignored; others to `event`.
    void OpenLink(const std::string& anchor, const AnchorEvent& event) const;
    void Raise(const AnchorEvent& event, const std::string& anchor) const;
    void InvalidateArea(const Rect& r) const;
    void PaintWholeNow() const;

    // What the kind does with the messages; each returns whether it took the message.
    virtual void Paint(Canvas& canvas, const PaintState& state) = 0;
    virtual void MouseEntered(std::int32_t, std::int32_t) {}
    virtual void MouseMoved(std::int32_t x, std::int32_t y) = 0;
    virtual void MousePressed(std::int32_t x, std::int32_t y) = 0;
    virtual void MouseReleased() {}
    virtual void MouseLeft() = 0;
    virtual bool KeyPressed(ControlKey key) = 0;
    virtual void FocusChanged(bool focused) = 0;
    virtual void Ticked() {}
    virtual void TextChanged() {}
    // The hover state the view's hit tests and the kind's core share.
    AnchorHover& HoverState() { return hovering_; }
    PointerSettings Pointer() const { return {settings_.Hover, settings_.AnchorHint}; }

    MarkupSettings settings_;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // Draws into a memory bitmap, then copies it to the target at once, so that nothing flickers.
    void PaintBuffered(HDC target);

    std::string Markup() const override { return htmlText_.Joined(); }
    MarkupSources Sources() const override { return {}; }
    void WithMeasureCanvas(const std::function<void(Canvas&)>& use) override;
    Size ClientSize() const override;
    std::int32_t DpiX() const override;
    std::int32_t DpiY() const override;
    void Resize(Size size) override;

    HWND window_ = nullptr;
    AnchorHover hovering_;
    TextLines htmlText_;
    MarkupView view_;
    ControlCursor cursor_ = ControlCursor::Arrow;
    bool tracking_ = false;
    bool tabStop_ = false;
};

// What both kinds answer their core alike: hit tests, repaints, the cursor and the anchor events.
template <typename HostBase, typename Window> class MarkupWindowHost : public HostBase {
public:
    explicit MarkupWindowHost(Window& window) : window_(window) {}

    AnchorHit HitAt(std::int32_t x, std::int32_t y) override { return window_.HitAt(x, y); }
    void Invalidate(const Rect& r) override { window_.InvalidateArea(r); }
    void InvalidateAll() override { InvalidateRect(window_.Handle(), nullptr, FALSE); }
    void PaintNow(bool) override { window_.PaintWholeNow(); }
    bool ShowsHand() const override { return window_.ShowsHandCursor(); }
    void ShowCursor(ControlCursor cursor) override { window_.SetCursorShape(cursor); }
    // The Win32 windows show no hints.
    void HideHint() override {}
    void AnchorEntered(const std::string& anchor) override { window_.Raise(window_.OnAnchorEnter, anchor); }
    void AnchorExited() override { window_.Raise(window_.OnAnchorExit, std::string()); }

protected:
    Window& window_;
};

} // namespace velmora
