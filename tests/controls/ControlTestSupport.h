#pragma once

#include "controls/ControlTimers.h"
#include "graphics/Color.h"
#include "graphics/FontState.h"
#include "graphics/Rect.h"
#include "markup/RenderMarkup.h"
#include "platform/desktop/ShellOpen.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <map>
#include <string>
#include <vector>

namespace velmora::testing {

// Called from each test's init(): any Qt warning fails the test, except the offscreen platform's notes
// that it cannot pass size hints on or raise a window.
void FailOnQtWarnings();

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
// Pixels of exactly this colour, and the smallest rectangle holding them (empty when none).
int CountColor(const QImage& image, QColor color, QRect area = {});
QRect ColorBounds(const QImage& image, QColor color);
// The first pixel of exactly this colour, scanning rows from the top; (-1, -1) when none.
QPoint FindColor(const QImage& image, QColor color);

// Groups of pixels of this colour separated by at least `gap` columns without it, left to right.
std::vector<QRect> ColorRuns(const QImage& image, QColor color, int gap = 4);

// What the engine makes of markup on a 96 pixels-per-inch surface with the given base font.
struct Measured {
    int Width = 0;
    int Height = 0;
};
Measured MeasureMarkup(const std::string& markup, const FontState& font, const Rect& bounds,
                       MarkupFlavor flavor);

} // namespace velmora::testing
