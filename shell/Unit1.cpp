#include "shell/Unit1.h"

#include "cue/repair/Repair.h"
#include "cue/repair/Restore.h"
#include "cue/repair/RowReport.h"
#include "errors/ErrorMessages.h"
#include "files/FileMoves.h"
#include "files/PathNames.h"
#include "messages/Messages.h"
#include "platform/HandOverServer.h"
#include "shell/ChooserTexts.h"
#include "shell/ErrorBox.h"
#include "shell/FrameCentring.h"
#include "shell/LinkLabel.h"
#include "shell/LocalizedText.h"
#include "shell/PictureBox.h"
#include "shell/PinnedPalette.h"
#include "shell/PinnedStyle.h"
#include "shell/ProgramIcon.h"
#include "shell/ReadAsMenu.h"
#include "shell/ShellAccessible.h"
#include "shell/Unit2.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QUrl>
#include <algorithm>
#include <chrono>

namespace velmora {

namespace {

// Rows and error boxes name a sheet by its full path, even when it came as a relative one.
std::string AbsolutePath(const std::string& path) {
    return QFile::encodeName(QFileInfo(QFile::decodeName(path.c_str())).absoluteFilePath()).toStdString();
}

QString FromBytes(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Stands where WM_DROPFILES stood: a drop is taken whole from the drag and
// drop machinery, then posted to the window so that the sheets are repaired
// from the event loop, not from inside the drag source's protocol.
class DropFilesEvent : public QEvent {
public:
    static QEvent::Type Kind() {
        static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
        return kind;
    }

    explicit DropFilesEvent(std::vector<std::string> paths) : QEvent(Kind()), Paths(std::move(paths)) {}

    std::vector<std::string> Paths;
};

// Whole paths, however long they are.
std::vector<std::string> LocalPaths(const QMimeData* data) {
    std::vector<std::string> paths;
    if (data == nullptr) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
        }
    }
    return paths;
}

// What a row keeps of its run: the sheet's full path, and whether the run changed files on disk.
constexpr int kSheetPathRole = Qt::UserRole;
constexpr int kChangedFilesRole = Qt::UserRole + 1;
constexpr int kEncodingUntoldRole = Qt::UserRole + 2;

// The result list's one column is 470 pixels wide: a longer row is shortened
// to fit it instead of running off to the right.
class ResultRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    static constexpr int kColumnWidth = 470;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize hint = QStyledItemDelegate::sizeHint(option, index);
        hint.setWidth(std::min(hint.width(), kColumnWidth));
        return hint;
    }

    // The focused row gets the same dark frame as the links, not the style's faint one.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem unframed = option;
        unframed.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, unframed, index);
        if (option.state & QStyle::State_HasFocus) {
            painter->save();
            painter->setPen(FocusFrameColour());
            painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
            painter->restore();
        }
    }
};

} // namespace

TForm1::TForm1(std::optional<std::string> commandLineSheet, QWidget* parent)
    : QWidget(parent), commandLineSheet_(std::move(commandLineSheet)),
      association_(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString(),
                   XdgFolders::FromEnvironment()) {
    SetUpWindow();
    CreateLabelsAndBanner();
    CreateResultList();
    CreateProgressAssociationAndStatus();
    // Once every control exists: the style reaches only the controls there are.
    PinLightStyle(*this);
    FitCaptionsToTheirText();
    SetUpKeyboard();
    FormCreate();
    // Described while still a plain widget; a screen reader's next question gets the main window's role.
    ForgetEarlyAccessibility(*this);
}

void TForm1::SetUpWindow() {
    setObjectName("TForm1");
    setWindowTitle(LocalizedText("Velmora Version 1.0 - %s", {kMakerHost}));
    // No maximise button: the controls sit at fixed places, and a larger window would only show blank.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(492, 323);
    // The banner, the red links and the black text were drawn for a light window, whatever the desktop's.
    setPalette(PinnedLightPalette());
    setAutoFillBackground(true);
    // The layout's widths were measured in this face at 11 pixels; the font matcher finds its nearest.
    QFont sansSerif("MS Sans Serif");
    sansSerif.setPixelSize(11);
    setFont(sansSerif);
    setWindowIcon(ProgramIcon());
    for (const QString name : {"result-bad", "result-corrected", "result-good"}) {
        // With their sizes given, the files are read only when a row first shows one.
        QIcon result;
        result.addFile(":/images/" + name + ".png", QSize(16, 16));
        result.addFile(":/images/" + name + "@2x.png", QSize(32, 32));
        ImageList1 << result;
    }
    centring_ = new FrameCentring(*this);
}

void TForm1::CreateLabelsAndBanner() {
    // Created in painting order: each lies over the ones before it.
    Label1 = new QLabel(LocalizedText("Please Drag & Drop your .cue files here"), this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(96, 96, 310, 19);
    QFont arialBold("Arial");
    arialBold.setPixelSize(17);
    arialBold.setBold(true);
    Label1->setFont(arialBold);

    Label2 = new LinkLabel(LocalizedText("About"), this);
    Label2->setObjectName("Label2");
    Label2->setGeometry(448, 280, 34, 13);
    Label2->OnClick = [this] {
        Label2Click();
    };

    Label3 = new LinkLabel(LocalizedText("Open a Cue File"), this);
    Label3->setObjectName("Label3");
    Label3->setGeometry(336, 280, 92, 13);
    Label3->setAutoFillBackground(true);
    Label3->OnClick = [this] {
        Label3Click();
    };

    Image1 = new PictureBox(":/images/banner.jpg", ":/images/banner@2x.jpg", this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(-8, 0, 505, 265);
    Image1->setAccessibleName(LocalizedText("Banner"));
}

void TForm1::CreateResultList() {
    ListView1 = new QListWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setGeometry(0, 144, 492, 105);
    ListView1->setFrameShape(QFrame::NoFrame);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setIconSize(QSize(16, 16));
    // The middle of a long name goes, so that its end and outcome stay in view.
    ListView1->setTextElideMode(Qt::ElideMiddle);
    ListView1->setItemDelegate(new ResultRowDelegate(ListView1));
    ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ListView1->setAccessibleName(LocalizedText("Results"));
    // Tab passes the empty list by: a focus there would show nowhere. The first row makes it a stop.
    ListView1->setFocusPolicy(Qt::ClickFocus);
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListView1, &QListWidget::customContextMenuRequested, this, &TForm1::ShowRowContextMenu);
    // The keyboard's way to the row menu, on the current row rather than where the pointer happens to be.
    auto* keyboardMenu = new QAction(ListView1);
    keyboardMenu->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)});
    keyboardMenu->setShortcutContext(Qt::WidgetShortcut);
    ListView1->addAction(keyboardMenu);
    connect(keyboardMenu, &QAction::triggered, this, [this] {
        if (const QListWidgetItem* row = ListView1->currentItem()) {
            ShowRowContextMenu(ListView1->visualItemRect(row).center());
        }
    });
}

void TForm1::CreateProgressAssociationAndStatus() {
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setGeometry(0, 256, 497, 16);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setAccessibleName(LocalizedText("Repair progress"));

    CheckBox1 = new QCheckBox(LocalizedText("Associate .cue extension with Velmora"), this);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox1->setGeometry(8, 280, 209, 17);
    // Queued, so that a failure unwinds from the event loop and not from
    // inside the button's own state change.
    connect(CheckBox1, &QCheckBox::toggled, this, &TForm1::CheckBox1Click, Qt::QueuedConnection);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setGeometry(0, 304, 492, 19);
    StatusBar1->addWidget(new QLabel(kMakerHost, StatusBar1));
}

void TForm1::SetUpKeyboard() {
    setTabOrder(ListView1, CheckBox1);
    setTabOrder(CheckBox1, Label3);
    setTabOrder(Label3, Label2);
    auto* open = new QShortcut(QKeySequence::Open, this);
    connect(open, &QShortcut::activated, this, [this] {
        if (Label3->isEnabled()) {
            Label3Click();
        }
    });
}

// The layout's widths fit its English captions in one font: a translation or another style's check box
// needs its own. The links keep their right edges, the box its left one.
void TForm1::FitCaptionsToTheirText() {
    constexpr int kLinkGap = 20;
    const auto fitted = [](QWidget* control, int layoutWidth) {
        return std::max(layoutWidth, control->sizeHint().width());
    };
    const int aboutWidth = fitted(Label2, 34);
    Label2->setGeometry(482 - aboutWidth, 280, aboutWidth, 13);
    const int openWidth = fitted(Label3, 92);
    Label3->setGeometry(std::min(336, Label2->x() - kLinkGap - openWidth), 280, openWidth, 13);
    CheckBox1->setGeometry(8, 280, fitted(CheckBox1, 209), 17);
}

TForm1::~TForm1() {
    QCoreApplication::instance()->removeEventFilter(this);
}

void TForm1::FormCreate() {
    setAcceptDrops(true);
    QCoreApplication::instance()->installEventFilter(this);
}

bool TForm1::TraiteMessage(QObject* watched, QEvent* event) {
    if (watched != this) {
        return false;
    }
    switch (event->type()) {
    // Taken here: the widget's own handlers would turn the drop down.
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (LocalPaths(drag->mimeData()).empty()) {
            return false;
        }
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        auto paths = LocalPaths(drop->mimeData());
        if (paths.empty()) {
            return false;
        }
        drop->acceptProposedAction();
        QCoreApplication::postEvent(this, new DropFilesEvent(std::move(paths)));
        return true;
    }
    default:
        if (event->type() == DropFilesEvent::Kind()) {
            QueueRun(static_cast<DropFilesEvent*>(event)->Paths, {});
        }
        return false;
    }
}

void TForm1::FormShow() {
    if (commandLineSheet_ && RegularFileExists(*commandLineSheet_)) {
        QueueRun({*commandLineSheet_}, {});
    }
}

void TForm1::FormActivate() {
    association_.CreateSettingsKey();
    CheckBox1->setChecked(association_.FlagExists());
}

void TForm1::CheckBox1Click() {
    if (CheckBox1->isChecked()) {
        association_.Associate();
    } else {
        association_.Dissociate();
    }
}

void TForm1::Label2Click() {
    if (Form2 == nullptr) {
        return;
    }
    Form2->show();
    // The About window has no loop of its own: the main window, disabled, takes no clicks, keys or drops
    // until that window's close gives them back.
    setEnabled(false);
}

void TForm1::Label3Click() {
    const auto chosen = ChooseFile(OpenDialog3, state_.CueFolder);
    if (!chosen) {
        return;
    }
    state_.CueFolder = std::string(FolderPart(*chosen));
    QueueRun({*chosen}, {});
}

void TForm1::HandOverMessage(const std::string& path, std::function<void()> done) {
    Init(path, std::move(done));
}

void TForm1::Init(const std::string& path, std::function<void()> done) {
    // The sheet's row is where the user will look, so the window comes forward to show it.
    raise();
    activateWindow();
    // No file name holds a NUL: what follows one is not part of the path.
    QueueRun({path.substr(0, path.find('\0'))}, std::move(done));
}

void TForm1::ListenForHandOver(const std::string& runtimeFolder) {
    HandOverHandler handler;
    // Posted, so that the run starts from the event loop and not from inside
    // the socket's notification.
    handler.OnPath = [this](const std::string& path, std::function<void()> done) {
        QMetaObject::invokeMethod(
            this, [this, path, done = std::move(done)] { HandOverMessage(path, done); },
            Qt::QueuedConnection);
    };
    handler.OnShowNormal = [this] {
        ShowNormal();
    };
    handOver_ = std::make_unique<HandOverServer>(runtimeFolder, std::move(handler));
    handOver_->Listen();
}

// A second start without a sheet means the user is looking for the window, minimised or not.
void TForm1::ShowNormal() {
    showNormal();
    raise();
    activateWindow();
}

// A drop or hand-over that comes while a run pumps events waits its turn: the engine takes one run at a
// time, and starting another inside the first would refuse it.
void TForm1::QueueRun(std::vector<std::string> paths, std::function<void()> done) {
    pending_.push_back(PendingRun{std::move(paths), std::move(done)});
    if (!running_) {
        RunPending();
    }
}

// An error ends the batch it arose in (the rest of that drop is dropped) and
// travels on to the event loop's error box, whose closing releases the batch's
// sender; batches queued behind it run afterwards.
void TForm1::RunPending() {
    running_ = true;
    while (!pending_.empty()) {
        PendingRun run = std::move(pending_.front());
        pending_.pop_front();
        std::size_t done = 0;
        try {
            for (const std::string& path : run.paths) {
                state_.CuePath = path;
                traitementCUE(state_, *this);
                ++done;
            }
        } catch (const Error& error) {
            // Told as a failure of its sheet, with what the drop left undone.
            const std::string sheet =
                error.SheetPath().empty() ? AbsolutePath(run.paths[done]) : error.SheetPath();
            FinishFailedRun(run);
            throw StoppedBatchError(error, sheet, static_cast<int>(run.paths.size() - done - 1));
        } catch (...) {
            FinishFailedRun(run);
            throw;
        }
        if (run.done) {
            run.done();
        }
    }
    running_ = false;
}

void TForm1::FinishFailedRun(PendingRun& run) {
    running_ = false;
    if (run.done) {
        ReleaseAfterErrorBox(std::move(run.done));
    }
    // The next sheet starts from the event loop, after this failure has unwound, and only if nothing
    // else started a run meanwhile.
    if (!pending_.empty()) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!running_) {
                    RunPending();
                }
            },
            Qt::QueuedConnection);
    }
}

void TForm1::setVisible(bool visible) {
    if (visible && !formShown_) {
        formShown_ = true;
        // Called from the program entry, not from the event loop: the error
        // box is shown here, and the window still opens afterwards.
        try {
            FormShow();
        } catch (const std::exception& error) {
            ShowErrorBox(error);
        }
        // On the screen it opens on, by the frame the window manager gives it, which it learns late.
        centring_->CentreOn([this] {
            const QScreen* where = screen();
            return where == nullptr ? pos() : where->availableGeometry().center();
        });
    }
    QWidget::setVisible(visible);
}

bool TForm1::event(QEvent* event) {
    // Form2 is read only on activation: other events reach here while the About window is torn down.
    QWidget* const about = event->type() == QEvent::WindowActivate ? Form2.data() : nullptr;
    if (about != nullptr && !about->isHidden()) {
        // A click on this disabled window activates it all the same; the keyboard belongs to the About
        // window as long as that is open.
        QMetaObject::invokeMethod(
            about,
            [about] {
                about->raise();
                about->activateWindow();
            },
            Qt::QueuedConnection);
    }
    if (event->type() == QEvent::WindowActivate) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                // The error box itself gives the activation back when it
                // closes: the same failure is shown once, not in a loop.
                try {
                    FormActivate();
                    lastActivateError_.clear();
                } catch (const Error& error) {
                    if (lastActivateError_ == error.what()) {
                        return;
                    }
                    lastActivateError_ = error.what();
                    throw;
                }
            },
            Qt::QueuedConnection);
    }
    return QWidget::event(event);
}

void TForm1::SetOpenLinkEnabled(bool enabled) {
    Label3->setEnabled(enabled);
}

int TForm1::ProgressPosition() const {
    return ProgressBar1->value();
}

void TForm1::SetProgressPosition(int position) {
    ProgressBar1->setValue(position);
}

// A run works on the window's own thread: its progress and rows reach the screen only while the events
// queued meanwhile are handled.
void TForm1::PumpEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Modal: the run goes on to its next sheet only once the warning was read.
void TForm1::ShowWarning(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, FromBytes(Localized("Warning")), FromBytes(text), QMessageBox::Ok);
    box.exec();
}

void TForm1::AddResultRow(const std::string& caption, int iconIndex) {
    // The focus frame follows the newest row unless the user has put it on another one.
    const QListWidgetItem* current = ListView1->currentItem();
    const bool followNewest = current == nullptr || ListView1->row(current) == ListView1->count() - 1;
    auto* row = new QListWidgetItem(ImageList1.value(iconIndex), FromBytes(caption), ListView1);
    ListView1->setFocusPolicy(Qt::StrongFocus);
    SetRowDetails(*row, SheetToolTip());
    if (followNewest) {
        ListView1->setCurrentItem(row, QItemSelectionModel::NoUpdate);
    }
    // The row just added is the one the user waits for, even when the focus stays on an older one.
    ListView1->scrollToItem(row);
}

QString TForm1::SheetToolTip() const {
    return QFile::decodeName(AbsolutePath(state_.CuePath).c_str());
}

std::optional<std::string> TForm1::ChooseFile(const FileFilterList& filters,
                                              const std::string& initialFolder) {
    return RunChooser(NameFilters(filters), QString(), initialFolder, {});
}

std::optional<std::string> TForm1::ChooseReferencedFile(const FileRequest& request) {
    // The best candidate is selected, so that Enter takes it.
    return RunChooser(ReferencedFileFilters(request.Filters),
                      ReferencedFileTitle(request.ReferencedName, state_.CuePath, Memo1.Text()),
                      request.InitialFolder,
                      request.Candidates.empty() ? std::string() : request.Candidates.front());
}

void TForm1::DescribeResultRow(const RowReport& report) {
    QListWidgetItem* row = ListView1->item(ListView1->count() - 1);
    if (row == nullptr) {
        return;
    }
    SetRowDetails(*row, SheetToolTip() + "\n" + FromBytes(RowReasonsText(report)));
    const std::string path = AbsolutePath(state_.CuePath);
    row->setData(kSheetPathRole, QByteArray(path.data(), static_cast<qsizetype>(path.size())));
    row->setData(kChangedFilesRole, ChangedFiles(report));
    row->setData(kEncodingUntoldRole, EncodingUntold(report));
}

QMenu* TForm1::RowContextMenu(QListWidgetItem* row) {
    auto* menu = new QMenu(this);
    if (row == nullptr) {
        return menu;
    }
    const QPersistentModelIndex index = ListView1->indexFromItem(row);
    // The tool tip's reasons, for those who cannot hover: a keyboard user or a screen magnifier's.
    connect(menu->addAction(LocalizedText("Details")), &QAction::triggered, this, [this, index] {
        if (index.isValid()) {
            ShowRowDetails(*ListView1->item(index.row()));
        }
    });
    if (row->data(kEncodingUntoldRole).toBool()) {
        AddReadAsMenu(*menu, !running_, [this, index](SheetEncoding encoding) {
            if (index.isValid()) {
                ReadSheetAs(ListView1->item(index.row()), encoding);
            }
        });
    }
    if (!row->data(kChangedFilesRole).toBool()) {
        return menu;
    }
    QAction* restore = menu->addAction(LocalizedText("Restore original"));
    // A run may be working on the very sheet; it is put back once the list is quiet.
    restore->setEnabled(!running_);
    connect(restore, &QAction::triggered, this, [this, index] {
        if (index.isValid()) {
            RestoreOriginal(ListView1->item(index.row()));
        }
    });
    return menu;
}

void TForm1::ReadSheetAs(QListWidgetItem* row, SheetEncoding encoding) {
    // Only this sheet's run reads in the encoding, so it starts only on a quiet list; drops queued behind
    // it read as usual, also when it fails.
    if (running_) {
        return;
    }
    const std::string sheet = row->data(kSheetPathRole).toByteArray().toStdString();
    state_.ReadAs = encoding;
    try {
        QueueRun({sheet}, [this] { state_.ReadAs.reset(); });
    } catch (...) {
        state_.ReadAs.reset();
        throw;
    }
}

void TForm1::ShowRowContextMenu(const QPoint& position) {
    const std::unique_ptr<QMenu> menu(RowContextMenu(ListView1->itemAt(position)));
    if (!menu->isEmpty()) {
        menu->exec(ListView1->viewport()->mapToGlobal(position));
    }
}

void TForm1::RestoreOriginal(QListWidgetItem* row) {
    const QByteArray path = row->data(kSheetPathRole).toByteArray();
    const std::string sheet = path.toStdString();
    RestoreResult result;
    try {
        result = RestoreSheet(sheet, Storage());
    } catch (const Error& error) {
        ShowErrorBox(error);
        return;
    }
    // An edited sheet is the user's newest text: it stays, and the rows stay as they are.
    if (result.Outcome == RestoreOutcome::ChangedSinceRepair) {
        ShowWarning(
            Localized("%s was changed since the repair: nothing was put back", {FileNamePart(sheet)}));
        return;
    }
    // Whatever it said, no row of this sheet has anything left to put back; those that changed it now say
    // what is on disk.
    const bool restored = result.Outcome != RestoreOutcome::NoBackup;
    for (int i = 0; i < ListView1->count(); ++i) {
        QListWidgetItem* sameSheet = ListView1->item(i);
        if (sameSheet->data(kSheetPathRole).toByteArray() != path) {
            continue;
        }
        if (restored && sameSheet->data(kChangedFilesRole).toBool()) {
            const QString caption = sameSheet->text();
            const qsizetype arrow = caption.lastIndexOf(" => ");
            sameSheet->setText((arrow < 0 ? caption : caption.left(arrow)) + " => RESTORED");
        }
        sameSheet->setData(kChangedFilesRole, false);
    }
    if (!restored) {
        ShowWarning(Localized("%s has no backup to put back", {FileNamePart(sheet)}));
        return;
    }
    SetRowDetails(*row,
                  row->toolTip() + "\n" +
                      LocalizedText("Restored: the sheet and the files it names are back as they were."));
}

void TForm1::SetRowDetails(QListWidgetItem& row, const QString& details) {
    row.setToolTip(details);
    row.setData(Qt::AccessibleDescriptionRole, details);
}

void TForm1::ShowRowDetails(const QListWidgetItem& row) {
    QMessageBox box(QMessageBox::Information, row.text(), row.toolTip(), QMessageBox::Ok, this);
    box.exec();
}

std::optional<std::string> TForm1::RunChooser(const QStringList& filters, const QString& title,
                                              const std::string& initialFolder, const std::string& selected) {
    QFileDialog dialog(this, title, QFile::decodeName(initialFolder.c_str()));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (!selected.empty()) {
        dialog.selectFile(QFile::decodeName(selected.c_str()));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

// Milliseconds since an arbitrary start, wrapping at 32 bits: the engine only takes differences.
std::uint32_t TForm1::TickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

} // namespace velmora
