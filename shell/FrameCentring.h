#pragma once

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QTimer>
#include <functional>

class QWidget;

namespace velmora {

// Places a window so that its frame, title bar included, is centred on a point. Until the window
// manager has framed the window its frame is unknown and the window is centred by its client area;
// once the frame arrives the window is centred again, so that it never sits off by half a title bar.
class FrameCentring : public QObject {
public:
    explicit FrameCentring(QWidget& window);

    // Centres the window on the point `centre` gives, now and once more when the frame arrives.
    void CentreOn(std::function<QPoint()> centre);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMargins CurrentFrame() const;
    void Place();

    QWidget& window_;
    std::function<QPoint()> centre_;
    QMargins knownFrame_;
    QMargins placedWith_;
    bool waitingForFrame_ = false;
    // The window manager may tell the frame, or place the window its own way, after the last event the
    // filter sees: for a moment after each centring the window is looked at again, and placed again if it
    // is off its centre.
    void Settle();
    QTimer settle_;
    int settleChecks_ = 0;
};

} // namespace velmora
