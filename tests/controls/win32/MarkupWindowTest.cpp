#include "controls/win32/LabelWindow.h"
#include "controls/win32/StaticTextWindow.h"
#include "graphics/win32/testing/DesktopInput.h"
#include "graphics/win32/testing/GdiSurface.h"

#include <functional>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using testkit::ClickAt;
using testkit::GdiSurface;
using testkit::MoveMouseTo;
using testkit::PumpFor;
using testkit::PumpUntil;

// The control as Windows paints it when asked to print its client area.
std::unique_ptr<GdiSurface> Printed(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    auto surface = std::make_unique<GdiSurface>(client.right, client.bottom);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface->Dc()), PRF_CLIENT);
    return surface;
}

class MarkupWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSEXW info{};
        info.cbSize = sizeof(info);
        info.lpfnWndProc = DefWindowProcW;
        info.hInstance = GetModuleHandleW(nullptr);
        info.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        info.lpszClassName = L"VelmoraControlsTestParent";
        RegisterClassExW(&info);
        parent_ = CreateWindowExW(WS_EX_TOPMOST, info.lpszClassName, L"controls", WS_POPUP | WS_VISIBLE, 40,
                                  40, 400, 200, nullptr, nullptr, info.hInstance, nullptr);
        ASSERT_NE(parent_, nullptr);
        SetForegroundWindow(parent_);
        family_ = testkit::TestFontFamily();
    }
    void TearDown() override { DestroyWindow(parent_); }

    // Settings that make text and links easy to tell apart: black text and blue links on white, red
    // under the mouse.
    void Dress(MarkupWindow& control) const {
        control.Configure([&](MarkupSettings& settings) {
            settings.Color = clWhite;
            settings.Font.Name = family_;
            settings.Font.Size = 14;
            settings.Font.Color = clBlack;
            settings.URLColor = clBlue;
            settings.Hover = true;
            settings.HoverFontColor = clRed;
        });
    }

    // The centre of the control's first link, as its hit test finds it.
    static POINT FirstLinkCentre(MarkupWindow& control) {
        const std::vector<LinkPlace>& links = control.View().Links();
        EXPECT_FALSE(links.empty());
        if (links.empty() || links.front().Bounds.IsEmpty()) {
            return {-1, -1};
        }
        const Rect& r = links.front().Bounds;
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }

    // A dressed label or static text showing `markup`; nothing when Windows refuses it.
    MarkupWindow* Make(bool staticText, const std::string& markup) const {
        MarkupWindow* control = nullptr;
        if (staticText) {
            control = StaticTextWindow::Create(parent_, RECT{10, 10, 310, 60}, 1);
        } else {
            control = LabelWindow::Create(parent_, RECT{10, 10, 310, 60}, 1);
        }
        if (control != nullptr) {
            Dress(*control);
            control->HTMLText().Assign({markup});
        }
        return control;
    }

    HWND parent_ = nullptr;
    std::string family_;
};

TEST_F(MarkupWindowTest, PaintsInkWhereTheTextIsAndTheLinkInItsColour) {
    for (const bool staticText : {false, true}) {
        MarkupWindow* control = Make(staticText, R"(Drop <A href="sheets">the sheets</A> here)");
        ASSERT_NE(control, nullptr);
        const auto drawn = Printed(control->Handle());
        const Rect ink = drawn->InkBounds();
        EXPECT_FALSE(ink.IsEmpty()) << staticText;
        EXPECT_LT(ink.Bottom, 30) << "one line of text at the top " << staticText;
        EXPECT_GT(drawn->CountColor(clBlue), 20) << staticText;
        EXPECT_EQ(drawn->CountColor(clRed), 0) << staticText;
        DestroyWindow(control->Handle());
    }
}

TEST_F(MarkupWindowTest, TheMouseOverALinkTurnsItToTheHoverColourAndShowsTheHand) {
    MarkupWindow* label = Make(false, R"(Drop <A href="sheets">the sheets</A> here)");
    ASSERT_NE(label, nullptr);
    UpdateWindow(label->Handle());
    const POINT link = FirstLinkCentre(*label);
    MoveMouseTo(label->Handle(), 2, 40);
    PumpFor(200);
    EXPECT_EQ(label->Hovering().Anchor, -1);

    MoveMouseTo(label->Handle(), link.x, link.y);
    PumpUntil([&] { return label->Hovering().Anchor == 1; });
    EXPECT_EQ(label->Hovering().LastAnchor, "sheets");
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    const auto hovered = Printed(label->Handle());
    EXPECT_GT(hovered->CountColor(clRed), 20);

    // Leaving the window takes the highlight off.
    MoveMouseTo(parent_, 380, 180);
    PumpUntil([&] { return label->Hovering().Anchor == -1; });
    EXPECT_EQ(Printed(label->Handle())->CountColor(clRed), 0);
}

TEST_F(MarkupWindowTest, AClickOnALinkReachesTheHandlerAndOneBesideItDoesNot) {
    MarkupWindow* label = Make(false, R"(Drop <A href="sheets">the sheets</A> here)");
    ASSERT_NE(label, nullptr);
    std::vector<std::string> clicked;
    label->OnAnchorClick = [&](const std::string& anchor) {
        clicked.push_back(anchor);
    };
    UpdateWindow(label->Handle());

    ClickAt(label->Handle(), 2, 40);
    PumpFor(200);
    EXPECT_TRUE(clicked.empty());
    const POINT link = FirstLinkCentre(*label);
    ClickAt(label->Handle(), link.x, link.y);
    PumpUntil([&] { return !clicked.empty(); });
    EXPECT_EQ(clicked, std::vector<std::string>{"sheets"});
}

TEST_F(MarkupWindowTest, EnterOnAFocusedControlOpensItsFocusedLink) {
    for (const bool staticText : {false, true}) {
        MarkupWindow* control = Make(staticText, R"(<A href="first">one</A> and <A href="second">two</A>)");
        ASSERT_NE(control, nullptr);
        std::vector<std::string> opened;
        control->OnAnchorClick = [&](const std::string& anchor) {
            opened.push_back(anchor);
        };
        if (auto* text = StaticTextWindow::From(control->Handle())) {
            text->OnAnchorKeypress = control->OnAnchorClick;
        }
        control->SetTabStop(true);
        SetFocus(control->Handle());
        ASSERT_EQ(GetFocus(), control->Handle());
        INPUT keys[2] = {};
        keys[0].type = INPUT_KEYBOARD;
        keys[0].ki.wVk = VK_RETURN;
        keys[1].type = INPUT_KEYBOARD;
        keys[1].ki.wVk = VK_RETURN;
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof(INPUT));
        PumpUntil([&] { return !opened.empty(); }, 3000);
        EXPECT_EQ(opened, std::vector<std::string>{"first"}) << staticText;
        DestroyWindow(control->Handle());
    }
}

TEST_F(MarkupWindowTest, TheBlinkTimerTicksAndHidesTheTextInTurn) {
    StaticTextWindow* text = StaticTextWindow::Create(parent_, RECT{10, 10, 310, 60}, 1);
    ASSERT_NE(text, nullptr);
    Dress(*text);
    text->HTMLText().Assign({"<BLINK>Blinking</BLINK>"});
    text->SetEnableBlink(true);
    EXPECT_TRUE(text->Core().TimerRunning());
    const int shownInk = Printed(text->Handle())->InkCount();
    EXPECT_GT(shownInk, 0);

    // Five ticks of 100 ms to a phase.
    PumpUntil([&] { return !text->Core().BlinkPhase(); }, 3000);
    EXPECT_GE(text->Core().TickCount(), 5);
    EXPECT_FALSE(text->Core().BlinkPhase());
    EXPECT_LT(Printed(text->Handle())->InkCount(), shownInk);

    text->SetEnableBlink(false);
    EXPECT_FALSE(text->Core().TimerRunning());
}

} // namespace
} // namespace velmora
