#pragma once

// First: the controls bring <windows.h> after the canvas names its macros would clash with.
#include "controls/win32/LabelWindow.h"
#include "cue/probes/ProbeLengthReader.h"
#include "cue/repair/RepairHost.h"
#include "cue/repair/RepairState.h"
#include "cue/text/TextBuffer.h"
#include "platform/win32/RegistryAssociation.h"
#include "shell/win32/AboutWindow.h"
#include "shell/win32/RunQueue.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <windows.h>
// commctrl.h and shellapi.h need the types of windows.h.
#include <commctrl.h>
#include <shellapi.h>

namespace velmora {

// The main window, of class "TForm1": the result list, the progress bar, the association check box, and
// the inputs that start runs (drops, the command-line sheet, hand-overs from a second start). Runs never
// nest: an input that arrives while a run pumps messages waits for it, in arrival order. The drop hint
// is a plain text label in kMarkupLabels; the two links, "Open a Cue File" and "About", are markup
// labels, and the About link shows the About window over this one, disabled.
class MainWindow : public RepairHost {
public:
    // Creates the window hidden; `programPath` is what the association writes.
    MainWindow(HINSTANCE instance, std::wstring programPath, RegistryKeys& registry);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Handle() const { return window_; }
    // Brings the window forward and queues the repair of `path`; `done` is called when it is over.
    void Init(const std::wstring& path, std::function<void()> done = {});
    // The same, as the "open" link does: the chooser first.
    void OpenCueFile();
    // The About link: shows the About window over this one, disabled.
    void Label2Click();

    void SetOpenLinkEnabled(bool enabled) override;
    int ProgressPosition() const override;
    void SetProgressPosition(int position) override;
    void PumpEvents() override;
    void ShowWarning(const std::string& text) override;
    void AddResultRow(const std::string& caption, int iconIndex) override;
    std::optional<std::string> ChooseFile(const FileFilterList& filters,
                                          const std::string& initialFolder) override;
    // The sheet's path and the run's reasons, which the row shows as its tip.
    void DescribeResultRow(const RowReport& report) override;
    TextBuffer& Buffer() override { return Memo1; }
    std::uint32_t TickCount() override;
    LengthReader* Lengths() override { return &lengths_; }
    // What a row's tip says; empty for a row without one.
    std::wstring RowDetails(int row) const;

    HWND ListView1 = nullptr;
    HWND ProgressBar1 = nullptr;
    HWND CheckBox1 = nullptr;
    LabelWindow* Label2 = nullptr;
    LabelWindow* Label3 = nullptr;
    TextBuffer Memo1;
    std::unique_ptr<AboutWindow> Form2;

private:
    static HWND CreateFrame(HINSTANCE instance, MainWindow* self);
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void FormActivate();
    void CheckBox1Click();
    void TakeDrop(HDROP drop);
    void RunBatch(const std::vector<std::wstring>& paths);
    void ShowError(const std::string& message);
    void FillRowTip(NMLVGETINFOTIPW& request) const;

    HWND window_ = nullptr;
    HIMAGELIST images_ = nullptr;
    RepairState state_;
    RegistryAssociation association_;
    RunQueue runs_;
    bool openLinkEnabled_ = true;
    // No other reader on Windows: the project's own header probes read every length.
    ProbeLengthReader lengths_{nullptr};
    std::vector<std::wstring> rowDetails_;
    std::string lastActivateError_;
};

// Where the drop hint goes, in the window's client coordinates at 96 dpi.
inline constexpr RECT kMarkupLabels{96, 96, 406, 115};

} // namespace velmora
