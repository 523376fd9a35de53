// The About window's static text against a QLabel that shows the same text as rich text, in one run:
// one full paint of each, and one mouse move over the static text's anchor (its hit test included). A paint
// of the static text whose state has not changed shows the picture it drew last; a paint after a change
// lays out and draws everything again, and is measured too.
// Goals: the static text's paint costs no more than the QLabel's, and a mouse move no more than a quarter
// of the QLabel's paint.
// The label (THTMLabel, which draws on every paint) is measured against the same QLabel: a full paint after
// its link colour changed, against the QLabel's rich-text paint (which keeps its laid-out document between
// paints), goal at most 0.6; and a mouse move over its link, against the QLabel's own mouse move over its
// link (links accessible by mouse: it looks the anchor up in its kept document and shows the hand), goal at
// most 2.
#include "RatioReporter.h"
#include "controls/HTMLText.h"
#include "controls/HTMLabel.h"
#include "graphics/qt/QtFonts.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace velmora;

constexpr int kWidth = 313;
constexpr int kHeight = 105;

const std::vector<std::string> kLines = {
    "This software cost many hours of freetime, so if you enjoy using Velmora and you would like to show "
    "your "
    "appreciation for my work, please ",
    "support me by making a donation.", "", "<br>",
    "<br>Graphics by <b><A href=\"mailto:brisel@example.org\"><FONT color=\"#FF0000\">Brisel</FONT></A></b> "
    "(Thanks !!)"};

const QString kHtml = QStringLiteral(
    "This software cost many hours of freetime, so if you enjoy using Velmora and you would like to show "
    "your appreciation for my work, please support me by making a donation.<br>"
    "<br>Graphics by <b><a href=\"mailto:brisel@example.org\"><font color=\"#FF0000\">Brisel</font></a></b> "
    "(Thanks !!)");

// The first point, bottom row first, where the static text finds its anchor.
QPoint PointOnAnchor(THTMLStaticText& text) {
    for (int y = kHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kWidth; ++x) {
            if (!text.AnchorAt(x, y).Anchor.empty()) {
                return {x, y};
            }
        }
    }
    return {-1, -1};
}

// The first point, bottom row first, where the label finds its anchor.
QPoint PointOnAnchor(THTMLabel& label) {
    for (int y = kHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kWidth; ++x) {
            if (!label.AnchorAt(x, y).Anchor.empty()) {
                return {x, y};
            }
        }
    }
    return {-1, -1};
}

void MoveMouse(QWidget& widget, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

// A new link colour before each paint, so that every paint lays out and draws the text again.
std::function<void(benchmark::State&)> PaintsAfterChange(MarkupControl& control, QImage& surface) {
    return [&control, &surface](benchmark::State& state) {
        int i = 0;
        for (auto _ : state) {
            control.SetURLColor((i++ & 1) != 0 ? clBlue : clNavy);
            control.render(&surface);
        }
    };
}

// Moves over two points on the same link, so that each move does the whole look-up and finds it.
std::function<void(benchmark::State&)> MovesOver(QWidget& widget, QPoint point) {
    return [&widget, point](benchmark::State& state) {
        const QPoint points[2] = {point, point + QPoint(1, 0)};
        int i = 0;
        for (auto _ : state) {
            MoveMouse(widget, points[i++ & 1]);
        }
    };
}

// The first point, bottom row first, where the QLabel shows the hand over its link.
QPoint PointOnLink(QLabel& label) {
    for (int y = kHeight - 1; y >= 0; --y) {
        for (int x = 0; x < kWidth; ++x) {
            MoveMouse(label, {x, y});
            if (label.cursor().shape() == Qt::PointingHandCursor) {
                return {x, y};
            }
        }
    }
    return {-1, -1};
}

void Ratio(const RatioReporter& reporter, const char* name, const char* mine, const char* peer, double goal) {
    const std::optional<Summary> a = reporter.Find(mine);
    const std::optional<Summary> b = reporter.Find(peer);
    if (!a || !b || b->median.real <= 0 || b->median.cpu <= 0) {
        return;
    }
    std::printf("%s: median %s us against %s us, ratio %.3f (CPU %.3f), goal at most %.2f\n", name,
                RatioReporter::Describe(*a).c_str(), RatioReporter::Describe(*b).c_str(),
                a->median.real / b->median.real, a->median.cpu / b->median.cpu, goal);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);

    QWidget window;
    window.resize(332, 337);
    auto* text = new THTMLStaticText(&window);
    text->setGeometry(8, 144, kWidth, kHeight);
    text->SetHTMLText(kLines);
    auto* label = new QLabel(&window);
    label->setGeometry(8, 8, kWidth, kHeight);
    label->setFont(ToQFont(text->Font(), 96));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::RichText);
    label->setText(kHtml);
    auto* markupLabel = new THTMLabel(&window);
    markupLabel->setGeometry(8, 256, kWidth, kHeight);
    markupLabel->SetHTMLText(&kLines);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    label->setMouseTracking(true);
    window.show();
    QApplication::processEvents();
    const QPoint onLabelAnchor = PointOnAnchor(*markupLabel);
    const QPoint onLink = PointOnLink(*label);
    if (onLabelAnchor.x() < 0 || onLink.x() < 0) {
        std::fprintf(stderr, "a label shows no link\n");
        return 1;
    }
    std::printf("label anchor point (%d, %d), QLabel link point (%d, %d)\n", onLabelAnchor.x(),
                onLabelAnchor.y(), onLink.x(), onLink.y());

    const QPoint onAnchor = PointOnAnchor(*text);
    if (onAnchor.x() < 0) {
        std::fprintf(stderr, "the static text shows no anchor\n");
        return 1;
    }
    std::printf("anchor point (%d, %d)\n", onAnchor.x(), onAnchor.y());

    QImage surface(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    surface.setDotsPerMeterX(3780);
    surface.setDotsPerMeterY(3780);

    benchmark::RegisterBenchmark("QLabel_rich_text_paint",
                                 [&](benchmark::State& state) {
                                     for (auto _ : state) {
                                         label->render(&surface);
                                     }
                                 })
        ->Unit(benchmark::kMicrosecond)
        ->Apply(AddRange);
    benchmark::RegisterBenchmark("THTMLStaticText_paint",
                                 [&](benchmark::State& state) {
                                     for (auto _ : state) {
                                         text->render(&surface);
                                     }
                                 })
        ->Unit(benchmark::kMicrosecond)
        ->Apply(AddRange);
    benchmark::RegisterBenchmark("THTMLStaticText_paint_after_change", PaintsAfterChange(*text, surface))
        ->Unit(benchmark::kMicrosecond)
        ->Apply(AddRange);
    benchmark::RegisterBenchmark("THTMLStaticText_mouse_move", MovesOver(*text, onAnchor))
        ->Unit(benchmark::kMicrosecond)
        ->Apply(AddRange);

    benchmark::RegisterBenchmark("THTMLabel_paint_after_change", PaintsAfterChange(*markupLabel, surface))
        ->Unit(benchmark::kMicrosecond)
        ->Apply(AddRange);
    benchmark::RegisterBenchmark("THTMLabel_mouse_move", MovesOver(*markupLabel, onLabelAnchor))
        ->Unit(benchmark::kMicrosecond)
        ->Apply(AddRange);
    benchmark::RegisterBenchmark("QLabel_mouse_move_over_link", MovesOver(*label, onLink))
        ->Unit(benchmark::kMicrosecond)
        ->Apply(AddRange);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    Ratio(reporter, "paint", "THTMLStaticText_paint", "QLabel_rich_text_paint", 1.0);
    Ratio(reporter, "paint after a change", "THTMLStaticText_paint_after_change", "QLabel_rich_text_paint",
          1.0);
    Ratio(reporter, "mouse move against a QLabel paint", "THTMLStaticText_mouse_move",
          "QLabel_rich_text_paint", 0.25);
    Ratio(reporter, "label paint after a change", "THTMLabel_paint_after_change", "QLabel_rich_text_paint",
          0.6);
    Ratio(reporter, "label mouse move against the QLabel's", "THTMLabel_mouse_move",
          "QLabel_mouse_move_over_link", 2.0);
    return 0;
}
