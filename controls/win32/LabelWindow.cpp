#include "controls/win32/LabelWindow.h"

namespace velmora {

class LabelWindow::Host final : public MarkupWindowHost<LabelHost, LabelWindow> {
public:
    using MarkupWindowHost::MarkupWindowHost;

    void OpenAnchor(const std::string& anchor, AnchorAction) override {
        window_.OpenLink(anchor, window_.OnAnchorClick);
    }
    // The label's window is its own: what lies under a highlight is painted with it.
    void InvalidateBehind(const Rect& r) override { window_.InvalidateArea(r); }
    void ReportHoverAnchor(std::int32_t) override {}
};

LabelWindow::LabelWindow() : host_(std::make_unique<Host>(*this)), core_(*host_, HoverState()) {}

LabelWindow::~LabelWindow() = default;

LabelWindow* LabelWindow::Create(HWND parent, const RECT& bounds, int id) {
    auto* label = new LabelWindow();
    return CreateFor(label, kClassName, parent, bounds, id) != nullptr ? label : nullptr;
}

LabelWindow* LabelWindow::From(HWND window) {
    return dynamic_cast<LabelWindow*>(MarkupWindow::From(window));
}

AnchorHit LabelWindow::HitAt(std::int32_t x, std::int32_t y) {
    return View().HitTest(TextArea(ClientRect(), settings_.Frames), x, y);
}

void LabelWindow::ShapeRequest(MarkupRequest& request) const {
    request.WordWrap = !settings_.Ellipsis;
    request.LineSpacing = 0;
    request.Flavor = MarkupFlavor::Label;
    // The label has no timer, so BLINK text never shows in it.
    request.BlinkVisible = false;
}

void LabelWindow::Paint(Canvas& canvas, const PaintState& state) {
    LabelBackground background = Background;
    background.Color = settings_.Color;
    PaintLabel(canvas, View(), core_, background, state);
}

void LabelWindow::MouseMoved(std::int32_t x, std::int32_t y) {
    core_.MouseMove(x, y, Pointer());
}

void LabelWindow::MousePressed(std::int32_t x, std::int32_t y) {
    core_.MousePress(x, y);
}

void LabelWindow::MouseLeft() {
    core_.MouseLeave(Pointer());
}

bool LabelWindow::KeyPressed(ControlKey key) {
    return core_.Key(key);
}

void LabelWindow::FocusChanged(bool) {
    core_.FocusChanged();
}

} // namespace velmora
