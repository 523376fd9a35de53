#include "RecordingHost.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testkit::RecordingHost;
using Calls = std::vector<std::string>;

class LabelCoreTest : public ::testing::Test {
protected:
    LabelCoreTest() { host.Anchors = {{"a", 1, {0, 0, 30, 16}}, {"b", 2, {40, 0, 70, 16}}}; }

    AnchorHover hovering;
    RecordingHost host{hovering, testkit::TwoAnchors()};
    LabelCore core{host, hovering};
};

TEST_F(LabelCoreTest, HoverRepaintsWhatLiesBehindTheAnchor) {
    const struct {
        std::int32_t X;
        PointerSettings Settings;
        Calls Expected;
    } moves[] = {
        {5,
         {true, false},
         {"invalidate behind 0,0,0,0", "cursor hand", "enter a", "invalidate behind 0,0,0,0",
          "invalidate behind 0,0,30,16"}},
        {10, {true, false}, {"invalidate behind 0,0,30,16"}},
        {50,
         {true, false},
         {"invalidate behind 0,0,30,16", "cursor hand", "enter b", "invalidate behind 0,0,30,16",
          "invalidate behind 40,0,70,16"}},
        {35, {true, false}, {"cursor arrow", "exit", "invalidate behind 40,0,70,16"}},
        {36, {true, false}, {}},
        {5, {false, true}, {"hide hint", "cursor hand", "enter a"}},
        {35, {false, false}, {"cursor arrow", "exit"}},
    };
    for (const auto& move : moves) {
        core.MouseMove(move.X, 5, move.Settings);
        EXPECT_EQ(host.Take(), move.Expected) << "x " << move.X;
    }
    EXPECT_EQ(hovering.AnchorRect, (Rect{-1, -1, -1, -1}));
}

TEST_F(LabelCoreTest, LeavingAnAnchorTakesTheHighlightOff) {
    core.MouseMove(5, 5, {true, false});
    host.Take();
    core.MouseLeave({true, false});
    EXPECT_EQ(host.Take(), (Calls{"invalidate behind 0,0,30,16"}));
    EXPECT_EQ(hovering.Anchor, -1);
    core.MouseLeave({true, false});
    EXPECT_TRUE(host.Take().empty());
}

TEST_F(LabelCoreTest, ClicksAndKeysOpenLinks) {
    core.MousePress(50, 5);
    core.MousePress(35, 5);
    EXPECT_EQ(host.Take(), (Calls{"click b"}));
    core.Painted("focused");
    EXPECT_TRUE(core.Key(ControlKey::Enter));
    EXPECT_EQ(host.Take(), (Calls{"paint all", "click focused"}));
    core.Painted("");
    EXPECT_TRUE(core.Key(ControlKey::Space));
    EXPECT_EQ(host.Take(), (Calls{"paint all"})) << "without the focus there is no link to open";
    for (const ControlKey key : {ControlKey::Left, ControlKey::Down, ControlKey::Other}) {
        EXPECT_FALSE(core.Key(key));
    }
    EXPECT_TRUE(host.Take().empty());
}

} // namespace
} // namespace velmora
