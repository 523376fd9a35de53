#include "ControlTestSupport.h"

#include "graphics/qt/QtCanvas.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QTimerEvent>
#include <QtTest>
#include <utility>

namespace velmora::testing {

void FailOnQtWarnings() {
    QTest::failOnWarning(
        QRegularExpression("^(?!This plugin does not support (propagateSizeHints|raise)\\(\\)$)"));
}

ShellRecorder::ShellRecorder()
    : previous_(SetShellOpenHandler([this](const std::string& target) {
          targets.push_back(target);
          return true;
      })) {}

ShellRecorder::~ShellRecorder() {
    SetShellOpenHandler(std::move(previous_));
}

ManualTimers::ManualTimers() : previous_(SetControlTimers(this)) {}

ManualTimers::~ManualTimers() {
    SetControlTimers(previous_);
}

int ManualTimers::Start(QObject& owner, int intervalMs) {
    ++starts_;
    const int id = nextId_++;
    running_[id] = {&owner, intervalMs, 0};
    return id;
}

void ManualTimers::Stop(QObject&, int id) {
    running_.erase(id);
}

void ManualTimers::Advance(int ms) {
    for (int step = 0; step < ms; ++step) {
        const std::map<int, Running> now = running_;
        for (const auto& [id, timer] : now) {
            auto it = running_.find(id);
            if (it == running_.end()) {
                continue;
            }
            if (++it->second.elapsed % timer.interval == 0) {
                QTimerEvent tick(id);
                QCoreApplication::sendEvent(timer.owner, &tick);
            }
        }
    }
}

PaintCounter::PaintCounter(QWidget& widget) : QObject(&widget) {
    widget.installEventFilter(this);
}

bool PaintCounter::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        ++count;
    }
    return false;
}

QWidget* ShownHost(int width, int height) {
    auto* host = new QWidget;
    host->setAttribute(Qt::WA_DeleteOnClose);
    host->resize(width, height);
    host->setAutoFillBackground(true);
    QPalette palette = host->palette();
    palette.setColor(QPalette::Window, Qt::white);
    host->setPalette(palette);
    host->show();
    return host;
}

bool WaitExposed(QWidget& window) {
    return QTest::qWaitForWindowExposed(&window);
}

void ParkMouse(QWidget& window) {
    QTest::mouseMove(&window, QPoint(window.width() - 1, window.height() - 1));
}

void Settle(QWidget& widget) {
    PaintCounter paints(widget);
    for (int round = 0; round < 20; ++round) {
        paints.count = 0;
        QTest::qWait(5);
        if (paints.count == 0) {
            break;
        }
    }
}

QImage Snapshot(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QColor ToColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

int CountColor(const QImage& image, QColor color, QRect area) {
    if (area.isNull()) {
        area = image.rect();
    }
    area &= image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += image.pixelColor(x, y).rgb() == color.rgb() ? 1 : 0;
        }
    }
    return count;
}

QRect ColorBounds(const QImage& image, QColor color) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).rgb() == color.rgb()) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

QPoint FindColor(const QImage& image, QColor color) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).rgb() == color.rgb()) {
                return {x, y};
            }
        }
    }
    return {-1, -1};
}

std::vector<QRect> ColorRuns(const QImage& image, QColor color, int gap) {
    std::vector<QRect> runs;
    int lastColumn = -1000;
    for (int x = 0; x < image.width(); ++x) {
        QRect column;
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y).rgb() == color.rgb()) {
                column |= QRect(x, y, 1, 1);
            }
        }
        if (column.isNull()) {
            continue;
        }
        if (runs.empty() || x - lastColumn > gap) {
            runs.push_back(column);
        } else {
            runs.back() |= column;
        }
        lastColumn = x;
    }
    return runs;
}

Measured MeasureMarkup(const std::string& markup, const FontState& font, const Rect& bounds,
                       MarkupFlavor flavor) {
    QImage surface(1, 1, QImage::Format_ARGB32_Premultiplied);
    surface.setDotsPerMeterX(3780);
    surface.setDotsPerMeterY(3780);
    QPainter painter(&surface);
    QtCanvas canvas(painter);
    canvas.SetFont(font);
    RenderMarkupParams params;
    params.canvas = &canvas;
    params.markup = markup;
    params.bounds = bounds;
    params.noDraw = true;
    params.measureOnly = true;
    params.flavor = flavor;
    RenderMarkup(params);
    return {params.textWidth, params.textHeight};
}

} // namespace velmora::testing
