#pragma once

#include "controls/win32/MarkupWindow.h"

#include <memory>

namespace velmora {

// The markup label as a Win32 window of class "THTMLabel": its background and frames, the highlight of
// the anchor under the mouse, the hand over links, links opened by any mouse button or, with the focus,
// by Enter or Space.
class LabelWindow final : public MarkupWindow {
public:
    static constexpr const wchar_t* kClassName = L"THTMLabel";

    // The window belongs to the parent; the object to the window. Nothing when Windows refuses it.
    static LabelWindow* Create(HWND parent, const RECT& bounds, int id);
    static LabelWindow* From(HWND window);

    // The gradient and transparency under the text; its Color follows the settings' Color.
    LabelBackground Background;

    AnchorHit HitAt(std::int32_t x, std::int32_t y);

private:
    class Host;

    LabelWindow();
    ~LabelWindow() override;

    void ShapeRequest(MarkupRequest& request) const override;
    AnchorHit AnchorAt(std::int32_t x, std::int32_t y) override { return HitAt(x, y); }
    void Paint(Canvas& canvas, const PaintState& state) override;
    void MouseMoved(std::int32_t x, std::int32_t y) override;
    void MousePressed(std::int32_t x, std::int32_t y) override;
    void MouseLeft() override;
    bool KeyPressed(ControlKey key) override;
    void FocusChanged(bool) override;

    std::unique_ptr<Host> host_;
    LabelCore core_;
};

} // namespace velmora
