#pragma once

#include "controls/core/ControlHost.h"

#include <cstdint>
#include <string>

namespace velmora {

// What the static text's window asks besides the common host.
class StaticTextHost : public ControlHost {
public:
    // The repeating timer whose ticks the adapter delivers to StaticTextCore::Tick every kTickInterval.
    virtual void StartTimer() = 0;
    virtual void StopTimer() = 0;
    // Steps every animated picture; true when one showed another frame.
    virtual bool StepAnimations() = 0;
    // Where the mouse is, when it is over the control.
    virtual bool PointerInside(Point& at) const = 0;
    // Whether the text has blinking parts.
    virtual bool TextBlinks() const = 0;
    // Where text goes inside the frames.
    virtual Rect TextArea() const = 0;
};

// The static text's state and its answers to events: the focus frame that the arrow keys move from
// anchor to anchor, hover, blinking, the mini scroll and its arrows, and the timer that drives them.
class StaticTextCore {
public:
    static constexpr int kTickInterval = 100; // milliseconds
    static constexpr std::int32_t kArrowSize = 10;
    static constexpr std::int32_t kScrollStep = 4;
    static constexpr std::int32_t kTicksPerBlink = 5;

    StaticTextCore(StaticTextHost& host, AnchorHover& hovering) : host_(host), hovering_(hovering) {}

    void MouseMove(std::int32_t x, std::int32_t y, PointerSettings settings);
    void MousePress(std::int32_t x, std::int32_t y);
    void MouseRelease() { buttonDown_ = false; }
    void MouseEnter(std::int32_t x, std::int32_t y, PointerSettings settings);
    void MouseLeave(PointerSettings settings);
    // True when the key was the control's.
    bool Key(ControlKey key);
    void FocusIn();
    void FocusOut() { host_.InvalidateAll(); }
    // One tick of the running timer.
    void Tick();
    // Anchor numbers belong to the old text: hover and focus start again.
    void TextChanged();

    bool MiniScroll() const { return miniScroll_; }
    // Switching it off scrolls back to the top.
    void SetMiniScroll(bool on);
    // Text aligned other than at the top does not scroll; the offset stays as it was.
    void EndMiniScroll() { miniScroll_ = false; }
    bool AutoScroll() const { return autoScroll_; }
    bool EnableBlink() const { return enableBlink_; }
    // Settings made while a layout loads start no timer; the adapter calls UpdateTimer once it is loaded.
    void SetAutoScroll(bool on, bool loading);
    void SetEnableBlink(bool on, bool loading);
    // Starts the timer when blinking or the auto scroll wants it, stops it when neither does.
    void UpdateTimer(bool blinkSwitchedOff, bool loading);
    // Scrolls the text up by `offset` pixels while MiniScroll is on; a negative offset goes back to 0.
    void ScrollTo(std::int32_t offset);

    // What the last paint found: the arrows it drew, the anchors and the focused link.
    void ArrowsDrawn(bool up, bool down) {
        upArrowShown_ = up;
        downArrowShown_ = down;
    }
    void TextDrawn(std::int32_t anchorCount, std::string focusHref) {
        anchorCount_ = anchorCount;
        focusHref_ = std::move(focusHref);
    }

    bool TimerRunning() const { return timerRunning_; }
    std::int32_t FocusAnchor() const { return focusAnchor_; }
    std::int32_t AnchorCount() const { return anchorCount_; }
    const std::string& FocusHref() const { return focusHref_; }
    std::int32_t TickCount() const { return tickCount_; }
    bool BlinkPhase() const { return blinkPhase_; }
    std::int32_t ScrollOffset() const { return scrollOffset_; }
    bool UpArrowShown() const { return upArrowShown_; }
    bool DownArrowShown() const { return downArrowShown_; }
    bool ButtonDown() const { return buttonDown_; }

private:
    // Scrolls by a step when the point lies on a shown arrow.
    void ScrollByArrowAt(std::int32_t x, std::int32_t y);
    void PointToAnchor(const AnchorHit& hit, PointerSettings settings);

    StaticTextHost& host_;
    AnchorHover& hovering_;
    bool miniScroll_ = false;
    bool autoScroll_ = false;
    bool enableBlink_ = false;
    bool timerRunning_ = false;
    std::int32_t focusAnchor_ = -1;
    std::int32_t anchorCount_ = 0;
    std::string focusHref_;
    std::int32_t tickCount_ = 0;
    bool blinkPhase_ = true;
    std::int32_t scrollOffset_ = 0;
    bool upArrowShown_ = false;
    bool downArrowShown_ = false;
    bool buttonDown_ = false;
};

} // namespace velmora
