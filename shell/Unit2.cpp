#include "shell/Unit2.h"

#include "controls/HTMLText.h"
#include "controls/HTMLabel.h"
#include "graphics/qt/QtConversions.h"
#include "shell/AboutTexts.h"
#include "shell/FrameCentring.h"
#include "shell/LocalizedText.h"
#include "shell/PictureBox.h"
#include "shell/PinnedPalette.h"
#include "shell/PinnedStyle.h"
#include "shell/ShellAccessible.h"
#include "shell/Unit1.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QWindow>
#include <string>
#include <vector>

namespace velmora {

namespace {

// The layout's outer size is 332 x 337 with a sizeable border of 4 pixels and
// a caption of 19: this is the client area its controls were placed in.
constexpr int kClientWidth = 332 - 2 * 4;
constexpr int kClientHeight = 337 - 19 - 2 * 4;

const std::string kMakerSite = std::string("http://") + kMakerHost + "/";
const std::string kAuthorMail = "mailto:dastrel@dastrel.example";
const std::string kGraphicsMail = "mailto:brisel@dastrel.example";

// The two labels' published settings, as the layout writes them.
void ApplyLabelSettings(THTMLabel& label) {
    label.SetColorTo(clNone);
    label.SetAnchorHint(false);
    label.SetAutoSizing(false);
    label.SetAutoSizeType(asVertical);
    label.SetEllipsis(false);
    label.SetGradientType(gtFullHorizontal);
    label.SetHintShowFull(false);
    label.SetHover(false);
    label.SetHoverColor(clNone);
    label.SetHoverFontColor(clNone);
    label.SetHTMLHint(false);
    label.SetLineWidth(0);
    label.SetShadowColor(clGray);
    label.SetShadowOffset(2);
    label.SetURLColor(clRed);
    label.SetVAlignment(tvaTop);
}

// Controls take the window's colour and font, as controls with ParentColor and
// ParentFont do. The window's colour is pinned, so their text is pinned with
// it: window text of the desktop's scheme could be as light as the background.
template <typename Control> Control* MakeMarkupControl(QWidget* window, const char* name, QRect bounds) {
    auto* control = new Control(window);
    control->setObjectName(name);
    control->BeginLayoutLoad();
    control->setGeometry(bounds);
    control->SetColor(clCaptionText);
    FontState font = control->Font();
    font.Color = ClassicSysColor(clWindowText & 0xFF);
    control->SetFont(font);
    return control;
}

} // namespace

// A dialog of the main window, owned by it through the window system rather
// than as a child widget: a disabled main window would disable a child too.
TForm2::TForm2(QWidget* mainWindow)
    : QWidget(nullptr), mainWindow_(mainWindow), centring_(new FrameCentring(*this)) {
    setObjectName("TForm2");
    setWindowTitle(LocalizedText("About"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // Modal to the main window alone: error boxes and the desktop stay usable while it is open.
    setWindowModality(Qt::WindowModal);
    // Closing the About window never ends the program; closing the main window does.
    setAttribute(Qt::WA_QuitOnClose, false);
    // Fixed, so that window managers offer neither maximising nor resizing: the controls sit at fixed places.
    setFixedSize(kClientWidth, kClientHeight);
    QPalette background = PinnedLightPalette();
    background.setColor(QPalette::Window, ToQColor(clCaptionText));
    setPalette(background);
    setAutoFillBackground(true);
    QFont sansSerif("MS Sans Serif");
    sansSerif.setPixelSize(11);
    setFont(sansSerif);

    Image1 = new PictureBox(":/images/about-logo.jpg", ":/images/about-logo@2x.jpg", this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(96, 8, 137, 121);
    Image1->setAccessibleName(LocalizedText("Velmora logo"));
    Image1->installEventFilter(this);

    Image2 = new PictureBox(":/images/about-portrait.jpg", ":/images/about-portrait@2x.jpg", this);
    Image2->setObjectName("Image2");
    Image2->setGeometry(112, 8, 113, 137);
    Image2->setAccessibleName(LocalizedText("Portrait of the author"));
    Image2->setVisible(false);
    Image2->installEventFilter(this);

    CreateTexts();

    BitBtn1 = new QPushButton(LocalizedText("OK"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setGeometry(128, 280, 75, 25);
    // Focused first, and Enter presses it, as a focused button does on the desktop the layout was made on.
    BitBtn1->setAutoDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm2::BitBtn1Click);
    // Tab goes from the button through the three links, top to bottom.
    HTMLStaticText1->SetTabStop(true);
    HTMLabel1->SetTabStop(true);
    HTMLabel2->SetTabStop(true);
    setTabOrder(BitBtn1, HTMLStaticText1);
    setTabOrder(HTMLStaticText1, HTMLabel1);
    setTabOrder(HTMLabel1, HTMLabel2);
    // Both last, once every control exists: see the main window's constructor.
    PinLightStyle(*this);
    ForgetEarlyAccessibility(*this);
}

void TForm2::CreateTexts() {
    HTMLStaticText1 = MakeMarkupControl<THTMLStaticText>(this, "HTMLStaticText1", {8, 144, 313, 105});
    HTMLStaticText1->SetAutoScroll(false);
    HTMLStaticText1->SetAutoSizeType(asVertical);
    HTMLStaticText1->SetAutoSizing(false);
    HTMLStaticText1->SetMiniScroll(false);
    HTMLStaticText1->SetShadowOffset(1);
    HTMLStaticText1->SetVAlignment(tvaTop);
    const AboutTexts texts = LocalizedAboutTexts(kMakerSite, kAuthorMail, kGraphicsMail);
    HTMLStaticText1->SetHTMLTextList(texts.Notice);
    HTMLStaticText1->Loaded();

    HTMLabel1 = MakeMarkupControl<THTMLabel>(this, "HTMLabel1", {16, 256, 297, 17});
    ApplyLabelSettings(*HTMLabel1);
    HTMLabel1->SetHTMLTextList(texts.Donation);
    HTMLabel1->Loaded();

    HTMLabel2 = MakeMarkupControl<THTMLabel>(this, "HTMLabel2", {248, 272, 65, 33});
    ApplyLabelSettings(*HTMLabel2);
    HTMLabel2->SetHTMLTextList(texts.Thanks);
    HTMLabel2->Loaded();
}

void TForm2::Image1Click() {
    Image1->setVisible(false);
    Image2->setVisible(true);
}

void TForm2::Image2Click() {
    Image2->setVisible(false);
    Image1->setVisible(true);
}

void TForm2::BitBtn1Click() {
    close();
}

void TForm2::setVisible(bool visible) {
    if (visible && mainWindow_ != nullptr) {
        // Window managers keep a transient window above its parent, minimise
        // them together and place it as a dialog of it.
        create();
        if (QWindow* parent = mainWindow_->windowHandle()) {
            windowHandle()->setTransientParent(parent);
        }
        centring_->CentreOn([this] {
            return mainWindow_ == nullptr ? frameGeometry().center() : mainWindow_->frameGeometry().center();
        });
        // Each showing starts on the OK button, as the layout's first control.
        BitBtn1->setFocus();
    }
    QWidget::setVisible(visible);
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        BitBtn1Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

// The OK button, and also a window manager's close: either way the main window
// must not stay disabled.
void TForm2::closeEvent(QCloseEvent* event) {
    event->accept();
    if (mainWindow_ == nullptr) {
        return;
    }
    mainWindow_->setEnabled(true);
    // Activated once this window is gone, so that its activation handler runs
    // as it does when the desktop hands the focus back. The queued call goes
    // with the main window if that is destroyed first.
    QWidget* const main = mainWindow_;
    QMetaObject::invokeMethod(
        main,
        [main] {
            if (main->isVisible()) {
                main->raise();
                main->activateWindow();
            }
        },
        Qt::QueuedConnection);
}

// A picture turns on release inside it, as a button does: a press dragged off it changes nothing.
bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease || (watched != Image1 && watched != Image2)) {
        return false;
    }
    const auto* release = static_cast<QMouseEvent*>(event);
    if (release->button() != Qt::LeftButton ||
        !static_cast<QWidget*>(watched)->rect().contains(release->position().toPoint())) {
        return false;
    }
    if (watched == Image1) {
        Image1Click();
    } else {
        Image2Click();
    }
    return true;
}

} // namespace velmora
