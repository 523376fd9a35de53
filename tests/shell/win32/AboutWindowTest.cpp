#include "graphics/win32/testing/DesktopInput.h"
#include "graphics/win32/testing/GdiSurface.h"
#include "platform/win32/RegistryKeys.h"
#include "platform/win32/ShellLinks.h"
#include "shell/win32/MainWindow.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testkit::PumpUntil;

// A click on a control's link, where its hit test finds it.
void ClickLink(MarkupWindow& control, std::size_t index) {
    const std::vector<LinkPlace>& links = control.View().Links();
    if (links.size() <= index || links[index].Bounds.IsEmpty()) {
        ADD_FAILURE() << "no link " << index;
        return;
    }
    const Rect& r = links[index].Bounds;
    testkit::ClickAt(control.Handle(), (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

class AboutWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = SetShellOpenHandler([this](const std::string& target) {
            opened_.push_back(target);
            return true;
        });
    }
    void TearDown() override { SetShellOpenHandler(previous_); }

    std::vector<std::string> opened_;
    ShellOpenHandler previous_;
};

TEST_F(AboutWindowTest, TheAboutLinkOpensItOverTheDisabledWindowAndItsLinksReachTheShell) {
    CurrentUserRegistry registry;
    MainWindow window(GetModuleHandleW(nullptr), L"C:\\velmora.exe", registry);
    ShowWindow(window.Handle(), SW_SHOW);
    SetForegroundWindow(window.Handle());
    UpdateWindow(window.Handle());
    AboutWindow& about = *window.Form2;
    wchar_t className[16] = {};
    GetClassNameW(about.Handle(), className, 16);
    EXPECT_STREQ(className, L"TForm2");
    EXPECT_FALSE(IsWindowVisible(about.Handle()));

    // Step one: the About link of the main window.
    ClickLink(*window.Label2, 0);
    PumpUntil([&] { return IsWindowVisible(about.Handle()) != FALSE; });
    ASSERT_TRUE(IsWindowVisible(about.Handle()));
    EXPECT_FALSE(IsWindowEnabled(window.Handle()));
    EXPECT_EQ(GetWindow(about.Handle(), GW_OWNER), window.Handle());
    RECT outer{};
    GetWindowRect(about.Handle(), &outer);
    EXPECT_EQ(outer.right - outer.left, 332);
    EXPECT_EQ(outer.bottom - outer.top, 337);
    EXPECT_EQ(about.HTMLStaticText1->View().Links().size(), 1u);
    // Dark text on a light ground, whatever colour the desktop gives caption text.
    testkit::GdiSurface notice(313, 105);
    SendMessageW(about.HTMLStaticText1->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(notice.Dc()),
                 PRF_CLIENT);
    EXPECT_GT(notice.CountColor(clWhite), 313 * 105 / 2);
    EXPECT_GT(notice.CountColor(clBlack), 100);

    // Step two: its links go to the shell, the donation link and the author's address.
    UpdateWindow(about.Handle());
    ClickLink(*about.HTMLabel1, 0);
    PumpUntil([&] { return !opened_.empty(); });
    ClickLink(*about.HTMLabel2, 0);
    PumpUntil([&] { return opened_.size() > 1; });
    EXPECT_EQ(opened_,
              (std::vector<std::string>{"http://www.dastrel.example/", "mailto:dastrel@dastrel.example"}));

    // OK hides it and gives the main window back; a second opening shows the same window.
    SendMessageW(about.BitBtn1, BM_CLICK, 0, 0);
    PumpUntil([&] { return IsWindowEnabled(window.Handle()) != FALSE; });
    EXPECT_FALSE(IsWindowVisible(about.Handle()));
    EXPECT_TRUE(IsWindowEnabled(window.Handle()));
    window.Label2Click();
    EXPECT_TRUE(IsWindowVisible(about.Handle()));
    EXPECT_EQ(window.Form2.get(), &about);
}

} // namespace
} // namespace velmora
