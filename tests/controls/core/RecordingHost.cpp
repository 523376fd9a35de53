#include "RecordingHost.h"

#include <utility>

namespace velmora::testkit {

namespace {

std::string Describe(const Rect& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
}

} // namespace

std::vector<FakeAnchor> TwoAnchors() {
    return {{"a", 1, {0, 0, 30, 16}}, {"b", 2, {40, 0, 70, 16}}};
}

std::vector<std::string> RecordingHost::Take() {
    return std::exchange(Calls, {});
}

AnchorHit RecordingHost::HitAt(std::int32_t x, std::int32_t y) {
    for (const FakeAnchor& anchor : Anchors) {
        if (anchor.Area.Contains({x, y})) {
            hovering_.Anchor = anchor.Number;
            return {anchor.Target, anchor.Area};
        }
    }
    hovering_.Anchor = -1;
    return {};
}

void RecordingHost::Invalidate(const Rect& r) {
    Calls.push_back("invalidate " + Describe(r));
}

void RecordingHost::ShowCursor(ControlCursor cursor) {
    hand_ = cursor == ControlCursor::Hand;
    Calls.push_back(hand_ ? "cursor hand" : "cursor arrow");
}

void RecordingHost::OpenAnchor(const std::string& anchor, AnchorAction action) {
    Calls.push_back((action == AnchorAction::Click ? "click " : "keypress ") + anchor);
}

bool RecordingHost::PointerInside(Point& at) const {
    at = Pointer;
    return PointerIn;
}

void RecordingHost::InvalidateBehind(const Rect& r) {
    Calls.push_back("invalidate behind " + Describe(r));
}

} // namespace velmora::testkit
