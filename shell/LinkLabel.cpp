#include "shell/LinkLabel.h"

#include "shell/PinnedPalette.h"
#include "shell/ShellAccessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace velmora {

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    QFont bold = font();
    bold.setBold(true);
    bold.setUnderline(true);
    setFont(bold);
    // Only the enabled look is red; a disabled link greys out.
    QPalette colours = palette();
    colours.setColor(QPalette::Active, QPalette::WindowText, Qt::red);
    colours.setColor(QPalette::Inactive, QPalette::WindowText, Qt::red);
    setPalette(colours);
    setCursor(Qt::PointingHandCursor);
    // Tab reaches it; a click does not leave a focus frame on it.
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(text);
    ForgetEarlyAccessibility(*this);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint())) {
        return;
    }
    Press();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        Press();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) {
        return;
    }
    // Solid and dark: a style's dotted grey frame all but vanishes on the white window.
    QPainter painter(this);
    painter.setPen(FocusFrameColour());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// Posted: the click's work (a whole repair run, say) starts from the event
// loop, after the mouse or key event is done with.
void LinkLabel::Press() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (OnClick && isEnabled()) {
                OnClick();
            }
        },
        Qt::QueuedConnection);
}

} // namespace velmora
