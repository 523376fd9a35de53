#include "graphics/qt/testing/QtTestSupport.h"

#include <QApplication>
#include <QString>
#include <algorithm>
#include <cmath>

namespace velmora::testing {

namespace {

QStringList& CapturedMessages() {
    static QStringList messages;
    return messages;
}

void CaptureMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg) {
        CapturedMessages() << message;
    }
}

// One QApplication for the whole test program: QtCanvas takes its focus frames from the style.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(CaptureMessage);
        static int argc = 1;
        static char name[] = "velmora-tests";
        static char* argv[] = {name, nullptr};
        application_ = new QApplication(argc, argv);
    }
    void TearDown() override { delete application_; }

private:
    QApplication* application_ = nullptr;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

void QtTest::SetUp() {
    CapturedMessages().clear();
}

void QtTest::TearDown() {
    EXPECT_TRUE(CapturedMessages().isEmpty()) << CapturedMessages().join('\n').toStdString();
}

QImage WhiteImage(int width, int height, int pixelsPerInch) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    const int dotsPerMeter = static_cast<int>(std::lround(pixelsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    return image;
}

namespace {

template <typename Visit>
void ForEachInk(const QImage& image, QColor background, const Rect& area, Visit visit) {
    const QRgb paper = background.rgb();
    const int bottom = std::min(area.Bottom, image.height());
    const int right = std::min(area.Right, image.width());
    for (int y = std::max(0, area.Top); y < bottom; ++y) {
        for (int x = std::max(0, area.Left); x < right; ++x) {
            if (image.pixel(x, y) != paper) {
                visit(x, y);
            }
        }
    }
}

} // namespace

Rect InkBounds(const QImage& image, QColor background, const Rect& area) {
    Rect bounds{100000, 100000, -100000, -100000};
    bool any = false;
    ForEachInk(image, background, area, [&](int x, int y) {
        any = true;
        bounds = {std::min(bounds.Left, x), std::min(bounds.Top, y), std::max(bounds.Right, x + 1),
                  std::max(bounds.Bottom, y + 1)};
    });
    return any ? bounds : Rect{};
}

int InkCount(const QImage& image, QColor background, const Rect& area) {
    int count = 0;
    ForEachInk(image, background, area, [&](int, int) { ++count; });
    return count;
}

} // namespace velmora::testing
