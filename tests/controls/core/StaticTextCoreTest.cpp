#include "RecordingHost.h"

#include <functional>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using testkit::RecordingHost;
using Calls = std::vector<std::string>;

constexpr PointerSettings kHover{true, false};

class StaticTextCoreTest : public ::testing::Test {
protected:
    StaticTextCoreTest() { host.Anchors = {{"a", 1, {0, 0, 30, 16}}, {"b", 2, {40, 0, 70, 16}}}; }

    AnchorHover hovering;
    RecordingHost host{hovering, testkit::TwoAnchors()};
    StaticTextCore core{host, hovering};
};

struct Step {
    std::string Event;
    std::function<void(StaticTextCore&)> Apply;
    Calls Expected;
};

void RunSteps(StaticTextCore& core, RecordingHost& host, const std::vector<Step>& steps) {
    for (const Step& step : steps) {
        step.Apply(core);
        EXPECT_EQ(host.Take(), step.Expected) << step.Event;
    }
}

TEST_F(StaticTextCoreTest, HoverRepaintsTheAnchorsItLeavesAndEnters) {
    const auto move = [](std::int32_t x, std::int32_t y) {
        return [x, y](StaticTextCore& c) {
            c.MouseMove(x, y, kHover);
        };
    };
    RunSteps(
        core, host,
        {
            {"onto a", move(5, 5), {"invalidate 0,0,0,0", "cursor hand", "enter a", "invalidate 0,0,30,16"}},
            {"within a", move(10, 5), {}},
            {"onto b",
             move(50, 5),
             {"invalidate 0,0,30,16", "cursor hand", "enter b", "invalidate 40,0,70,16"}},
            {"off b", move(35, 5), {"cursor arrow", "invalidate 40,0,70,16", "paint text", "exit"}},
            {"still off", move(35, 6), {}},
        });
    EXPECT_EQ(hovering.Anchor, -1);
}

TEST_F(StaticTextCoreTest, AnchorHintIsHiddenBeforeTheHandShows) {
    core.MouseMove(5, 5, {false, true});
    EXPECT_EQ(host.Take(), (Calls{"hide hint", "cursor hand", "enter a"}));
    core.MouseEnter(50, 5, {true, true});
    EXPECT_EQ(host.Take(), (Calls{"hide hint", "cursor hand", "enter b", "paint text"}));
    EXPECT_EQ(hovering.AnchorRect, (Rect{40, 0, 70, 16}));
}

TEST_F(StaticTextCoreTest, LeavingTakesTheHighlightOff) {
    core.MouseMove(5, 5, kHover);
    host.Take();
    core.MouseLeave(kHover);
    EXPECT_EQ(host.Take(), (Calls{"invalidate 0,0,30,16"}));
    EXPECT_EQ(hovering.Anchor, -1);
    core.MouseLeave(kHover);
    EXPECT_TRUE(host.Take().empty());
}

TEST_F(StaticTextCoreTest, PressOpensTheAnchorUnderThePointer) {
    core.MousePress(50, 5);
    EXPECT_EQ(host.Take(), (Calls{"click b"}));
    EXPECT_TRUE(core.ButtonDown());
    core.MouseRelease();
    EXPECT_FALSE(core.ButtonDown());
    core.MousePress(35, 5);
    EXPECT_TRUE(host.Take().empty());
}

TEST_F(StaticTextCoreTest, ArrowKeysMoveTheFocusRoundTheAnchors) {
    core.TextDrawn(3, "t");
    const struct {
        ControlKey Key;
        std::int32_t Focus;
    } keys[] = {{ControlKey::Left, 2},  {ControlKey::Right, 0}, {ControlKey::Right, 1}, {ControlKey::Down, 2},
                {ControlKey::Right, 0}, {ControlKey::Up, 2},    {ControlKey::Left, 1}};
    for (const auto& key : keys) {
        EXPECT_TRUE(core.Key(key.Key));
        EXPECT_EQ(core.FocusAnchor(), key.Focus);
        EXPECT_EQ(host.Take(), (Calls{"paint text", "paint text"}));
    }
    EXPECT_FALSE(core.Key(ControlKey::Other));
    EXPECT_TRUE(host.Take().empty());
}

TEST_F(StaticTextCoreTest, EnterAndSpaceOpenTheLinkAsItIsDrawn) {
    core.TextDrawn(2, "second");
    for (const ControlKey key : {ControlKey::Enter, ControlKey::Space}) {
        EXPECT_TRUE(core.Key(key));
        EXPECT_EQ(host.Take(), (Calls{"paint all", "keypress second"}));
    }
}

TEST_F(StaticTextCoreTest, FocusStartsOnTheFirstAnchorAndTextChangesForgetIt) {
    core.FocusIn();
    EXPECT_EQ(core.FocusAnchor(), 0);
    core.TextDrawn(3, "");
    core.Key(ControlKey::Down);
    core.FocusOut();
    core.FocusIn();
    EXPECT_EQ(core.FocusAnchor(), 1);
    core.MouseMove(5, 5, kHover);
    EXPECT_EQ(core.FocusAnchor(), -1) << "pointing at an anchor takes the frame off";
    host.Take();
    core.TextChanged();
    EXPECT_EQ(hovering.Anchor, -1);
    EXPECT_EQ(core.FocusAnchor(), -1);
    EXPECT_EQ(host.Take(), (Calls{"invalidate all"}));
}

TEST_F(StaticTextCoreTest, TheTimerRunsWhileBlinkingOrAutoScrollWantsIt) {
    const auto blink = [](bool on, bool loading) {
        return [on, loading](StaticTextCore& c) {
            c.SetEnableBlink(on, loading);
        };
    };
    const auto scroll = [](bool on) {
        return [on](StaticTextCore& c) {
            c.SetAutoScroll(on, false);
        };
    };
    RunSteps(core, host,
             {
                 {"blink while loading", blink(true, true), {}},
                 {"loaded", [](StaticTextCore& c) { c.UpdateTimer(false, false); }, {"start timer"}},
                 {"auto scroll too", scroll(true), {}},
                 {"blink off, scroll on", blink(false, false), {}},
                 {"scroll off", scroll(false), {"stop timer"}},
                 {"blink on", blink(true, false), {"start timer"}},
                 {"blink off", blink(false, false), {"stop timer", "invalidate all"}},
             });
    EXPECT_FALSE(core.TimerRunning());
    EXPECT_FALSE(core.BlinkPhase());
}

TEST_F(StaticTextCoreTest, BlinkingTextTurnsEveryFifthTick) {
    core.SetEnableBlink(true, false);
    host.Take();
    host.Blinks = true;
    const bool phases[] = {true, true, true, true, false, false, false, false, false, true};
    for (const bool phase : phases) {
        core.Tick();
        EXPECT_EQ(core.BlinkPhase(), phase) << "tick " << core.TickCount();
    }
    EXPECT_EQ(host.Take(), (Calls{"paint all", "paint all"}));
    host.Blinks = false;
    host.AnimationsStep = true;
    for (int i = 0; i < 5; ++i) {
        core.Tick();
    }
    EXPECT_EQ(core.BlinkPhase(), true) << "text without BLINK never turns";
    EXPECT_EQ(host.Take(), Calls(5, "paint text"));
}

TEST_F(StaticTextCoreTest, TicksWithNothingToDriveDoNothing) {
    host.Blinks = true;
    host.AnimationsStep = true;
    for (int i = 0; i < 5; ++i) {
        core.Tick();
    }
    EXPECT_EQ(core.TickCount(), 0);
    EXPECT_TRUE(host.Take().empty());
}

TEST_F(StaticTextCoreTest, ArrowsScrollByAStepAndNeverAboveTheTop) {
    core.SetMiniScroll(true);
    core.ArrowsDrawn(false, true);
    host.Take();
    core.MousePress(95, 35);
    EXPECT_EQ(core.ScrollOffset(), 4);
    EXPECT_EQ(host.Take(), (Calls{"paint all"}));
    core.ArrowsDrawn(true, true);
    core.MousePress(95, 5);
    EXPECT_EQ(core.ScrollOffset(), 0);
    core.MousePress(95, 5);
    EXPECT_EQ(core.ScrollOffset(), 0);
    EXPECT_EQ(host.Take(), (Calls{"paint all"})) << "going above the top paints nothing";
    core.MousePress(50, 5);
    EXPECT_EQ(host.Take(), (Calls{"click b"})) << "the text itself is no arrow";
}

TEST_F(StaticTextCoreTest, AutoScrollFollowsThePointerOnAnArrow) {
    core.SetMiniScroll(true);
    core.SetAutoScroll(true, false);
    core.ArrowsDrawn(false, true);
    host.Take();
    host.Pointer = {95, 35};
    core.Tick();
    EXPECT_EQ(core.ScrollOffset(), 0) << "the pointer is outside";
    host.PointerIn = true;
    core.Tick();
    core.Tick();
    EXPECT_EQ(core.ScrollOffset(), 8);
    core.SetMiniScroll(false);
    EXPECT_EQ(core.ScrollOffset(), 0);
    core.Tick();
    EXPECT_EQ(core.ScrollOffset(), 0) << "no mini scroll, no scrolling";
}

TEST_F(StaticTextCoreTest, AHeldButtonScrollsWithoutAutoScroll) {
    core.SetMiniScroll(true);
    core.SetEnableBlink(true, false);
    core.ArrowsDrawn(false, true);
    host.PointerIn = true;
    host.Pointer = {95, 35};
    core.Tick();
    EXPECT_EQ(core.ScrollOffset(), 0);
    core.MousePress(95, 35);
    core.Tick();
    EXPECT_EQ(core.ScrollOffset(), 8);
    core.MouseRelease();
    core.Tick();
    EXPECT_EQ(core.ScrollOffset(), 8);
    core.EndMiniScroll();
    EXPECT_FALSE(core.MiniScroll());
    EXPECT_EQ(core.ScrollOffset(), 8) << "aligning the text elsewhere keeps the offset";
}

} // namespace
} // namespace velmora
