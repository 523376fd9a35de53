#pragma once

#include "cue/probes/ProbeLengthReader.h"
#include "cue/probes/TagLibModule.h"
#include "cue/repair/RepairHost.h"
#include "cue/repair/RepairState.h"
#include "cue/text/TextBuffer.h"
#include "messages/Messages.h"
#include "platform/FileAssociation.h"

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QProgressBar;
class QStatusBar;

namespace velmora {

class FrameCentring;
class HandOverServer;
class LinkLabel;
class PictureBox;
class TForm2;

inline constexpr const char* kMakerHost = "www.dastrel.example";

// The main window: the inputs that start repair runs (drops, the command-line
// sheet, the open link, hand-overs from a second start), the host operations
// the runs use, and the association check box. Runs never nest: an input that
// arrives while a run is in progress waits for it, in arrival order.
class TForm1 : public QWidget, public RepairHost {
public:
    // `commandLineSheet` is the first command-line argument, if any.
    explicit TForm1(std::optional<std::string> commandLineSheet, QWidget* parent = nullptr);
    ~TForm1() override;

    void SetOpenLinkEnabled(bool enabled) override;
    int ProgressPosition() const override;
    void SetProgressPosition(int position) override;
    void PumpEvents() override;
    void ShowWarning(const std::string& text) override;
    void AddResultRow(const std::string& caption, int iconIndex) override;
    std::optional<std::string> ChooseFile(const FileFilterList& filters,
                                          const std::string& initialFolder) override;
    // Opens on the sheet's folder with the best candidate selected; the user still decides.
    std::optional<std::string> ChooseReferencedFile(const FileRequest& request) override;
    // The reasons go into the tool tip of the row just added; its caption stays as it is.
    void DescribeResultRow(const RowReport& report) override;
    TextBuffer& Buffer() override { return Memo1; }
    std::uint32_t TickCount() override;
    LengthReader* Lengths() override { return &lengths_; }

    // The context menu of a result row: "Details" (its reasons), "Read as..." for a row whose sheet's
    // encoding could not be told, and "Restore original" for a row whose run changed something, as long as
    // no run is in progress. The caller owns the menu.
    QMenu* RowContextMenu(QListWidgetItem* row);
    // Repairs the row's sheet again, read in `encoding`.
    void ReadSheetAs(QListWidgetItem* row, SheetEncoding encoding);
    // Puts the row's sheet back as it was (its backup, and the files its repair moved); the rows that
    // changed it then say RESTORED, and the tool tip says so, or a box shows why it could not.
    void RestoreOriginal(QListWidgetItem* row);

    void FormCreate();
    // The application-wide hook: sees every event before it is dispatched and
    // takes the files dropped on this window.
    bool TraiteMessage(QObject* watched, QEvent* event);
    void FormShow();
    void FormActivate();
    void CheckBox1Click();
    void Label2Click();
    void Label3Click();
    // A path from a second start; `done` is called once its run has ended.
    void HandOverMessage(const std::string& path, std::function<void()> done);
    // Brings the window forward and repairs `path`, up to its first NUL.
    void Init(const std::string& path, std::function<void()> done = {});

    // Starts taking hand-overs on the socket in `runtimeFolder`.
    void ListenForHandOver(const std::string& runtimeFolder);

    RepairState& State() { return state_; }

    QLabel* Label1;
    LinkLabel* Label2;
    LinkLabel* Label3;
    PictureBox* Image1;
    QCheckBox* CheckBox1;
    QListWidget* ListView1;
    QProgressBar* ProgressBar1;
    QStatusBar* StatusBar1;
    TextBuffer Memo1;
    const FileFilterList OpenDialog3{{ForCatalogue("Cue File"), "*.cue"}};
    QList<QIcon> ImageList1;
    // The About window that Label2Click shows; created after this window.
    QPointer<TForm2> Form2;

protected:
    // FormShow runs here, before the window first becomes visible.
    void setVisible(bool visible) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override { return TraiteMessage(watched, event); }

private:
    struct PendingRun {
        std::vector<std::string> paths;
        std::function<void()> done;
    };

    // The constructor's steps, in order: the window itself, then its controls in painting order.
    void SetUpWindow();
    void CreateLabelsAndBanner();
    void CreateResultList();
    void CreateProgressAssociationAndStatus();
    void FitCaptionsToTheirText();
    void SetUpKeyboard();

    void QueueRun(std::vector<std::string> paths, std::function<void()> done);
    void RunPending();
    // Ends the batch a failure stopped and lets the batches behind it run later.
    void FinishFailedRun(PendingRun& run);
    void ShowNormal();
    QString SheetToolTip() const;
    void ShowRowContextMenu(const QPoint& position);
    // The row's tool tip, which assistive technologies read as its description.
    static void SetRowDetails(QListWidgetItem& row, const QString& details);
    void ShowRowDetails(const QListWidgetItem& row);
    std::optional<std::string> RunChooser(const QStringList& filters, const QString& title,
                                          const std::string& initialFolder, const std::string& selected);

    RepairState state_;
    std::optional<std::string> commandLineSheet_;
    FileAssociation association_;
    std::unique_ptr<HandOverServer> handOver_;
    FrameCentring* centring_ = nullptr;
    std::deque<PendingRun> pending_;
    bool running_ = false;
    bool formShown_ = false;
    std::string lastActivateError_;
    TagLibModule otherLengths_{TagLibModule::FoldersOfThisProgram()};
    ProbeLengthReader lengths_{&otherLengths_};
};

} // namespace velmora
