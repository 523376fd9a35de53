#pragma once

#include "controls/ControlTimers.h"
#include "controls/MarkupControl.h"
#include "graphics/Color.h"
#include "graphics/FontState.h"
#include "graphics/Rect.h"
#include "graphics/qt/testing/PixelProbes.h"
#include "graphics/qt/testing/QtWarnings.h"
#include "markup/RenderMarkup.h"
#include "platform/desktop/ShellOpen.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <map>
#include <string>
#include <vector>

namespace velmora::testkit {

// Catches what the controls hand to the desktop while it lives.
class ShellRecorder {
public:
    ShellRecorder();
    ~ShellRecorder();
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    std::vector<std::string> targets;

private:
    ShellOpenHandler previous_;
};

// Timers that never fire by themselves: the test advances the clock and the ticks arrive as the
// QTimerEvents Qt would send.
class ManualTimers final : public ControlTimers {
public:
    ManualTimers();
    ~ManualTimers() override;

    int Start(QObject& owner, int intervalMs) override;
    void Stop(QObject& owner, int id) override;

    // Delivers the ticks that `ms` milliseconds bring to every timer running.
    void Advance(int ms);
    int RunningCount() const { return static_cast<int>(running_.size()); }
    int StartCount() const { return starts_; }

private:
    struct Running {
        QObject* owner;
        int interval;
        int elapsed;
    };
    std::map<int, Running> running_;
    int nextId_ = 7;
    int starts_ = 0;
    ControlTimers* previous_;
};

// What a layout saved from `from` and read into `to` gives: every markup-control property that `from`
// says it stores, set on `to` between BeginLayoutLoad() and Loaded().
void LoadStoredProperties(const MarkupControl& from, MarkupControl& to);
// The markup-control properties whose values differ between the two.
QStringList DifferentProperties(const MarkupControl& a, const MarkupControl& b);

// Counts paint events of one widget.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget);
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// A shown top-level window of the given size that hosts controls as children.
QWidget* ShownHost(int width, int height);
bool WaitExposed(QWidget& window);

// Moves the mouse to the window's bottom-right pixel, so that the next move is never to where the mouse
// already is (Qt drops those).
void ParkMouse(QWidget& window);
// Lets pending paints happen until a round of events brings none.
void Settle(QWidget& widget);

// The widget as it shows now, drawn again.
QImage Snapshot(QWidget& widget);

QColor ToColor(TColor color);
// What the engine makes of markup on a 96 pixels-per-inch surface with the given base font.
struct Measured {
    int Width = 0;
    int Height = 0;
};
Measured MeasureMarkup(const std::string& markup, const FontState& font, const Rect& bounds,
                       MarkupFlavor flavor);
// The anchor a fresh layout of the control's text, with its font, pictures and text area, finds at a
// point; empty for none. What a control that kept a layout must agree with.
std::string FreshAnchorAt(MarkupControl& control, MarkupFlavor flavor, int x, int y);

} // namespace velmora::testkit
