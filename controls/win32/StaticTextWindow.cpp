#include "controls/win32/StaticTextWindow.h"

#include "markup/MarkupText.h"

namespace velmora {

class StaticTextWindow::Host final : public MarkupWindowHost<StaticTextHost, StaticTextWindow> {
public:
    using MarkupWindowHost::MarkupWindowHost;

    void OpenAnchor(const std::string& anchor, AnchorAction action) override {
        window_.OpenLink(anchor,
                         action == AnchorAction::Keypress ? window_.OnAnchorKeypress : window_.OnAnchorClick);
    }
    void StartTimer() override {
        SetTimer(window_.Handle(), kTimerId, StaticTextCore::kTickInterval, nullptr);
    }
    void StopTimer() override { KillTimer(window_.Handle(), kTimerId); }
    // The Win32 windows show no pictures yet, so nothing animates.
    bool StepAnimations() override { return false; }
    bool PointerInside(Point& at) const override {
        at = window_.CurrentPaintState().Mouse;
        return window_.ClientRect().Contains(at);
    }
    bool TextBlinks() const override {
        return UpperCaseAnsi(window_.HTMLText().Joined()).find("<BLINK") != std::string::npos;
    }
    Rect TextArea() const override {
        return velmora::TextArea(window_.ClientRect(), window_.Settings().Frames);
    }
};

StaticTextWindow::StaticTextWindow() : host_(std::make_unique<Host>(*this)), core_(*host_, HoverState()) {
    settings_.ShadowOffset = 1;
}

StaticTextWindow::~StaticTextWindow() = default;

StaticTextWindow* StaticTextWindow::Create(HWND parent, const RECT& bounds, int id) {
    auto* text = new StaticTextWindow();
    return CreateFor(text, kClassName, parent, bounds, id) != nullptr ? text : nullptr;
}

StaticTextWindow* StaticTextWindow::From(HWND window) {
    return dynamic_cast<StaticTextWindow*>(MarkupWindow::From(window));
}

void StaticTextWindow::SetMiniScroll(bool on) {
    if (core_.MiniScroll() == on) {
        return;
    }
    if (on) {
        settings_.VAlignment = tvaTop;
    }
    core_.SetMiniScroll(on);
}

AnchorHit StaticTextWindow::HitAt(std::int32_t x, std::int32_t y) {
    return View().HitTest(StaticTextHitBounds(settings_, core_, ClientRect()), x, y);
}

void StaticTextWindow::ShapeRequest(MarkupRequest& request) const {
    request.BlinkVisible = core_.BlinkPhase();
    request.WordWrap = !settings_.Ellipsis;
    request.Flavor = MarkupFlavor::StaticText;
}

void StaticTextWindow::Paint(Canvas& canvas, const PaintState& state) {
    canvas.SetBrushColor(settings_.Color);
    canvas.FillRect(state.Client);
    DrawStaticText(canvas, View(), core_, state);
}

void StaticTextWindow::MouseEntered(std::int32_t x, std::int32_t y) {
    core_.MouseEnter(x, y, Pointer());
}

void StaticTextWindow::MouseMoved(std::int32_t x, std::int32_t y) {
    core_.MouseMove(x, y, Pointer());
}

void StaticTextWindow::MousePressed(std::int32_t x, std::int32_t y) {
    core_.MousePress(x, y);
}

void StaticTextWindow::MouseLeft() {
    core_.MouseLeave(Pointer());
}

bool StaticTextWindow::KeyPressed(ControlKey key) {
    return core_.Key(key);
}

void StaticTextWindow::FocusChanged(bool focused) {
    if (focused) {
        core_.FocusIn();
    } else {
        core_.FocusOut();
    }
}

} // namespace velmora
