#pragma once

#include "controls/core/LabelCore.h"
#include "controls/core/StaticTextCore.h"

#include <string>
#include <utility>
#include <vector>

namespace velmora::testkit {

// An anchor the fake hit test finds: its 1-based number and where it is drawn.
struct FakeAnchor {
    std::string Target;
    std::int32_t Number;
    Rect Area;
};

// Two anchors on the first line: "a" (1) and, after a gap, "b" (2).
std::vector<FakeAnchor> TwoAnchors();

// A window that records what a control's core asks of it, one line a call, and answers hit tests from
// a fixed list of anchors as the real hit test does: the hover's Anchor is set on every hit test.
class RecordingHost : public StaticTextHost, public LabelHost {
public:
    RecordingHost(AnchorHover& hovering, std::vector<FakeAnchor> anchors)
        : Anchors(std::move(anchors)), hovering_(hovering) {}

    std::vector<FakeAnchor> Anchors;
    std::vector<std::string> Calls;
    bool AnimationsStep = false;
    bool Blinks = false;
    bool PointerIn = false;
    Point Pointer;
    Rect Area{0, 0, 100, 40};

    // The calls since the last time they were taken.
    std::vector<std::string> Take();

    AnchorHit HitAt(std::int32_t x, std::int32_t y) override;
    void Invalidate(const Rect& r) override;
    void InvalidateAll() override { Calls.push_back("invalidate all"); }
    void PaintNow(bool withFrame) override { Calls.push_back(withFrame ? "paint all" : "paint text"); }
    bool ShowsHand() const override { return hand_; }
    void ShowCursor(ControlCursor cursor) override;
    void HideHint() override { Calls.push_back("hide hint"); }
    void AnchorEntered(const std::string& anchor) override { Calls.push_back("enter " + anchor); }
    void AnchorExited() override { Calls.push_back("exit"); }
    void OpenAnchor(const std::string& anchor, AnchorAction action) override;
    void StartTimer() override { Calls.push_back("start timer"); }
    void StopTimer() override { Calls.push_back("stop timer"); }
    bool StepAnimations() override { return AnimationsStep; }
    bool PointerInside(Point& at) const override;
    bool TextBlinks() const override { return Blinks; }
    Rect TextArea() const override { return Area; }
    void InvalidateBehind(const Rect& r) override;
    void ReportHoverAnchor(std::int32_t) override {}

private:
    AnchorHover& hovering_;
    bool hand_ = false;
};

} // namespace velmora::testkit
