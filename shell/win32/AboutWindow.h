#pragma once

#include "controls/win32/LabelWindow.h"
#include "controls/win32/StaticTextWindow.h"

namespace velmora {

// The About window, of class "TForm2": the freeware notice with the graphics credit, the donation link,
// the thank-you line and OK. One instance lives from start to end, hidden until the main window's About
// link shows it; the main window stays disabled while it is open.
class AboutWindow {
public:
    AboutWindow(HINSTANCE instance, HWND mainWindow);
    ~AboutWindow();
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    HWND Handle() const { return window_; }
    // Centred over the main window, which is disabled until OK.
    void Show();
    // Enables the main window again and hides this one.
    void BitBtn1Click();

    StaticTextWindow* HTMLStaticText1 = nullptr;
    LabelWindow* HTMLabel1 = nullptr;
    LabelWindow* HTMLabel2 = nullptr;
    HWND BitBtn1 = nullptr;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateTexts();

    HWND mainWindow_;
    HBRUSH background_ = nullptr;
    HWND window_ = nullptr;
};

} // namespace velmora
