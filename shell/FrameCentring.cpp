#include "shell/FrameCentring.h"

#include <QEvent>
#include <QRect>
#include <QWidget>
#include <QWindow>

namespace velmora {

namespace {

// Some window managers decorate or move a window well after it is mapped, so the placement is checked
// again for two seconds.
constexpr int kSettleIntervalMilliseconds = 50;
constexpr int kSettleChecks = 40;

} // namespace

FrameCentring::FrameCentring(QWidget& window) : QObject(&window), window_(window) {
    window_.installEventFilter(this);
    settle_.setInterval(kSettleIntervalMilliseconds);
    connect(&settle_, &QTimer::timeout, this, [this] { Settle(); });
}

void FrameCentring::CentreOn(std::function<QPoint()> centre) {
    centre_ = std::move(centre);
    Place();
    waitingForFrame_ = true;
    settleChecks_ = 0;
    settle_.start();
}

void FrameCentring::Settle() {
    if (++settleChecks_ >= kSettleChecks || !window_.isVisible()) {
        settle_.stop();
        return;
    }
    const QMargins frame = CurrentFrame();
    if (frame.isNull()) {
        return;
    }
    waitingForFrame_ = false;
    knownFrame_ = frame;
    if (frame != placedWith_ || window_.frameGeometry().center() != centre_()) {
        Place();
    }
}

QMargins FrameCentring::CurrentFrame() const {
    const QWindow* handle = window_.windowHandle();
    return handle == nullptr ? QMargins() : handle->frameMargins();
}

void FrameCentring::Place() {
    // A hidden window has no frame: it gets the one it had last time.
    if (const QMargins frame = CurrentFrame(); !frame.isNull()) {
        knownFrame_ = frame;
    }
    placedWith_ = knownFrame_;
    QRect outer(QPoint(), window_.size().grownBy(placedWith_));
    outer.moveCenter(centre_());
    // A window's position is that of its frame.
    window_.move(outer.topLeft());
}

bool FrameCentring::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_ || !waitingForFrame_) {
        return false;
    }
    switch (event->type()) {
    case QEvent::Hide:
        waitingForFrame_ = false;
        break;
    // The window manager tells the frame by a window property, which raises
    // no event: it is read on the first of these that comes after it, the
    // first paint of the mapped window at the latest.
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Paint:
    case QEvent::WindowActivate: {
        const QMargins frame = CurrentFrame();
        if (frame.isNull()) {
            break;
        }
        waitingForFrame_ = false;
        knownFrame_ = frame;
        if (frame != placedWith_) {
            Place();
        }
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace velmora
