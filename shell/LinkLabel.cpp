#include "shell/LinkLabel.h"

#include <QMouseEvent>

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
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    // Posted: the click's work (a whole repair run, say) starts from the event
    // loop, after the mouse event is done with.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (OnClick && isEnabled())
                OnClick();
        },
        Qt::QueuedConnection);
}

} // namespace velmora
