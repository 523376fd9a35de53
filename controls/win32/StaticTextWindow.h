#pragma once

#include "controls/win32/MarkupWindow.h"

#include <memory>

namespace velmora {

// The markup static text as a Win32 window of class "THTMLStaticText": the label's links and hover,
// plus blinking text, the auto scroll and the mini scroll with its arrows, driven by a 100 ms timer, and
// a focus frame that the arrow keys move from link to link.
class StaticTextWindow final : public MarkupWindow {
public:
    static constexpr const wchar_t* kClassName = L"THTMLStaticText";
    static constexpr UINT_PTR kTimerId = 1;

    static StaticTextWindow* Create(HWND parent, const RECT& bounds, int id);
    static StaticTextWindow* From(HWND window);

    void SetEnableBlink(bool on) { core_.SetEnableBlink(on, false); }
    void SetAutoScroll(bool on) { core_.SetAutoScroll(on, false); }
    void SetMiniScroll(bool on);
    const StaticTextCore& Core() const { return core_; }

    AnchorEvent OnAnchorKeypress;

    AnchorHit HitAt(std::int32_t x, std::int32_t y);

private:
    class Host;

    StaticTextWindow();
    ~StaticTextWindow() override;

    void ShapeRequest(MarkupRequest& request) const override;
    AnchorHit AnchorAt(std::int32_t x, std::int32_t y) override { return HitAt(x, y); }
    void Paint(Canvas& canvas, const PaintState& state) override;
    void MouseEntered(std::int32_t x, std::int32_t y) override;
    void MouseMoved(std::int32_t x, std::int32_t y) override;
    void MousePressed(std::int32_t x, std::int32_t y) override;
    void MouseReleased() override { core_.MouseRelease(); }
    void MouseLeft() override;
    bool KeyPressed(ControlKey key) override;
    void FocusChanged(bool focused) override;
    void Ticked() override { core_.Tick(); }
    void TextChanged() override { core_.TextChanged(); }

    std::unique_ptr<Host> host_;
    StaticTextCore core_;
};

} // namespace velmora
