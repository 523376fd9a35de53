#include "ControlTestSupport.h"

#include "graphics/qt/QtCanvas.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMetaProperty>
#include <QPainter>
#include <QTimerEvent>
#include <QtTest>
#include <utility>

namespace velmora::testkit {

ShellRecorder::ShellRecorder()
    : previous_(SetShellOpenHandler([this](const std::string& target) {
          targets.push_back(target);
          return true;
      })) {}

ShellRecorder::~ShellRecorder() {
    SetShellOpenHandler(std::move(previous_));
}

void LoadStoredProperties(const MarkupControl& from, MarkupControl& to) {
    to.BeginLayoutLoad();
    const QMetaObject& meta = *from.metaObject();
    for (int i = MarkupControl::staticMetaObject.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        if (property.isWritable() && from.IsPropertyStored(property.name())) {
            property.write(&to, property.read(&from));
        }
    }
    to.Loaded();
}

QStringList DifferentProperties(const MarkupControl& a, const MarkupControl& b) {
    QStringList different;
    const QMetaObject& meta = *a.metaObject();
    for (int i = MarkupControl::staticMetaObject.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        if (property.read(&a) != property.read(&b)) {
            different << property.name();
        }
    }
    return different;
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

Measured MeasureMarkup(const std::string& markup, const FontState& font, const Rect& bounds,
                       MarkupFlavor flavor) {
    QImage surface(1, 1, QImage::Format_ARGB32_Premultiplied);
    surface.setDotsPerMeterX(3780);
    surface.setDotsPerMeterY(3780);
    QPainter painter(&surface);
    QtCanvas canvas(painter);
    canvas.SetFont(font);
    MarkupCall params(canvas);
    params.Request.Markup = markup;
    params.Request.Bounds = bounds;
    params.Request.NoDraw = true;
    params.Request.MeasureOnly = true;
    params.Request.Flavor = flavor;
    params.Run();
    return {params.Result.TextWidth, params.Result.TextHeight};
}

std::string FreshAnchorAt(MarkupControl& control, MarkupFlavor flavor, int x, int y) {
    QImage surface(1, 1, QImage::Format_ARGB32_Premultiplied);
    surface.setDotsPerMeterX(3780);
    surface.setDotsPerMeterY(3780);
    QPainter painter(&surface);
    QtCanvas canvas(painter);
    canvas.SetFont(control.Font());
    const std::string markup = control.GetJoinedText();
    MarkupCall call(canvas);
    call.Sources = {control.Images(), &control.PictureCache(), control.PictureContainer(),
                    &control.ShellIcons()};
    call.Request.Markup = markup;
    call.Request.Bounds = control.TextArea();
    call.Request.HitX = x;
    call.Request.HitY = y;
    call.Request.NoDraw = true;
    call.Request.WordWrap = !control.Ellipsis();
    call.Request.Flavor = flavor;
    return call.Run() ? call.Result.HitAnchor : std::string();
}

} // namespace velmora::testkit
