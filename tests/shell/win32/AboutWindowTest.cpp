#include "platform/win32/RegistryKeys.h"
#include "platform/win32/ShellLinks.h"
#include "shell/win32/MainWindow.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

void PumpUntil(const std::function<bool()>& done, DWORD patience = 10000) {
    const ULONGLONG end = GetTickCount64() + patience;
    while (!done() && GetTickCount64() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

// A left click as the desktop delivers it, at a point of a window's client area.
void ClickAt(HWND window, POINT at) {
    ClientToScreen(window, &at);
    SetCursorPos(at.x, at.y);
    INPUT inputs[3] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].type = INPUT_MOUSE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

POINT LinkCentre(MarkupWindow& control, std::size_t index) {
    const std::vector<LinkPlace>& links = control.View().Links();
    if (links.size() <= index || links[index].Bounds.IsEmpty()) {
        ADD_FAILURE() << "no link " << index;
        return {-1, -1};
    }
    const Rect& r = links[index].Bounds;
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
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
    ClickAt(window.Label2->Handle(), LinkCentre(*window.Label2, 0));
    PumpUntil([&] { return IsWindowVisible(about.Handle()) != FALSE; });
    ASSERT_TRUE(IsWindowVisible(about.Handle()));
    EXPECT_FALSE(IsWindowEnabled(window.Handle()));
    EXPECT_EQ(GetWindow(about.Handle(), GW_OWNER), window.Handle());
    RECT outer{};
    GetWindowRect(about.Handle(), &outer);
    EXPECT_EQ(outer.right - outer.left, 332);
    EXPECT_EQ(outer.bottom - outer.top, 337);
    EXPECT_EQ(about.HTMLStaticText1->View().Links().size(), 1u);

    // Step two: its links go to the shell, the donation link and the author's address.
    UpdateWindow(about.Handle());
    ClickAt(about.HTMLabel1->Handle(), LinkCentre(*about.HTMLabel1, 0));
    PumpUntil([&] { return !opened_.empty(); });
    ClickAt(about.HTMLabel2->Handle(), LinkCentre(*about.HTMLabel2, 0));
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
