// Draws the pictures Velmora carries: the main window's banner, the About
// window's logo and portrait, the result icons and the program icon.
// Usage: velmora-draw-pictures OUTPUT_FOLDER
#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>
#include <array>
#include <cmath>
#include <numbers>

namespace {

const QColor kDarkRed(128, 16, 16);
const QColor kBandGrey(226, 226, 230);

// The circular gauge that stands for Velmora everywhere: a dial with ticks,
// a red needle and a hub.
void DrawGaugeLogo(QPainter& painter, const QRectF& box) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = box.center();
    const double radius = std::min(box.width(), box.height()) / 2.0;

    QRadialGradient rim(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.4);
    rim.setColorAt(0.0, QColor(120, 120, 128));
    rim.setColorAt(1.0, QColor(40, 40, 48));
    painter.setPen(Qt::NoPen);
    painter.setBrush(rim);
    painter.drawEllipse(centre, radius, radius);

    QRadialGradient face(centre - QPointF(radius * 0.25, radius * 0.35), radius);
    face.setColorAt(0.0, Qt::white);
    face.setColorAt(1.0, QColor(208, 212, 220));
    painter.setBrush(face);
    painter.drawEllipse(centre, radius * 0.82, radius * 0.82);

    const double tickWidth = std::max(1.0, radius / 16.0);
    for (int i = 0; i <= 10; ++i) {
        const double angle = std::numbers::pi * (1.25 - 1.5 * i / 10.0);
        const QPointF direction(std::cos(angle), -std::sin(angle));
        const double inner = i % 5 == 0 ? 0.52 : 0.62;
        painter.setPen(QPen(i >= 8 ? kDarkRed : QColor(40, 40, 48), tickWidth, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(centre + direction * radius * inner, centre + direction * radius * 0.74);
    }

    const double needleAngle = std::numbers::pi * 0.35;
    const QPointF needle(std::cos(needleAngle), -std::sin(needleAngle));
    painter.setPen(QPen(QColor(200, 24, 24), std::max(1.0, radius / 9.0), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre - needle * radius * 0.12, centre + needle * radius * 0.66);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 40, 48));
    painter.drawEllipse(centre, radius * 0.14, radius * 0.14);
    painter.restore();
}

// A picture of `width` x `height` drawn at `scale` times as many pixels each
// way: the drawing code works in the 1x coordinates either way.
QImage Canvas(int width, int height, int scale, QImage::Format format) {
    QImage image(width * scale, height * scale, format);
    image.fill(format == QImage::Format_ARGB32 ? QColor(Qt::transparent) : QColor(Qt::white));
    return image;
}

QImage DrawBanner(int scale) {
    // The window shows the banner from x = 8 (its picture box starts at -8);
    // the list covers everything below y = 144.
    QImage image = Canvas(502, 287, scale, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);

    QPainterPath band;
    band.moveTo(0, 0);
    band.lineTo(502, 0);
    band.lineTo(502, 58);
    band.cubicTo(380, 92, 160, 50, 0, 84);
    band.closeSubpath();
    QLinearGradient shade(0, 0, 0, 90);
    shade.setColorAt(0.0, QColor(244, 244, 246));
    shade.setColorAt(1.0, kBandGrey);
    painter.fillPath(band, shade);
    painter.setPen(QPen(QColor(190, 190, 198), 1.5));
    painter.drawPath(band);

    DrawGaugeLogo(painter, QRectF(20, 6, 64, 64));

    QFont title("Liberation Sans");
    title.setPixelSize(40);
    title.setBold(true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    painter.setFont(title);
    painter.setPen(kDarkRed);
    painter.drawText(QRectF(100, 8, 380, 48), Qt::AlignLeft | Qt::AlignVCenter, "VELMORA");

    QFont subtitle("Liberation Sans");
    subtitle.setPixelSize(12);
    subtitle.setItalic(true);
    painter.setFont(subtitle);
    painter.setPen(QColor(90, 90, 96));
    painter.drawText(QRectF(104, 52, 300, 16), Qt::AlignLeft | Qt::AlignVCenter, "CUE sheet repair");

    // The window's own hint label lies under the banner, so the banner says it.
    QFont hint("Liberation Sans");
    hint.setPixelSize(17);
    hint.setBold(true);
    painter.setFont(hint);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(104, 94, 380, 22), Qt::AlignLeft | Qt::AlignVCenter,
                     "Please Drag & Drop your .cue files here");
    return image;
}

QImage DrawAboutLogo(int scale) {
    QImage image = Canvas(128, 128, scale, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);

    QRadialGradient shadow(QPointF(66, 68), 62);
    shadow.setColorAt(0.8, QColor(160, 160, 168));
    shadow.setColorAt(1.0, Qt::white);
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.drawEllipse(QPointF(66, 68), 62, 62);

    QRadialGradient button(QPointF(52, 44), 70);
    button.setColorAt(0.0, Qt::white);
    button.setColorAt(0.7, QColor(236, 238, 242));
    button.setColorAt(1.0, QColor(196, 200, 208));
    painter.setBrush(button);
    painter.setPen(QPen(QColor(170, 174, 184), 1.5));
    painter.drawEllipse(QPointF(64, 64), 58, 58);

    DrawGaugeLogo(painter, QRectF(40, 20, 48, 48));

    QFont name("Liberation Sans");
    name.setPixelSize(15);
    name.setBold(true);
    painter.setFont(name);
    painter.setPen(kDarkRed);
    painter.drawText(QRectF(14, 70, 100, 22), Qt::AlignCenter, "VELMORA");

    QLinearGradient gloss(0, 8, 0, 60);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 200));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gloss);
    painter.drawEllipse(QRectF(24, 8, 80, 44));

    QRadialGradient ball(QPointF(24, 100), 14);
    ball.setColorAt(0.0, QColor(255, 140, 140));
    ball.setColorAt(0.5, QColor(220, 24, 24));
    ball.setColorAt(1.0, QColor(130, 0, 0));
    painter.setBrush(ball);
    painter.drawEllipse(QPointF(28, 102), 11, 11);
    return image;
}

// A stand-in portrait: head and shoulders against a soft background, all in
// blue tints.
QImage DrawAboutPortrait(int scale) {
    QImage image = Canvas(107, 131, scale, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, 131);
    background.setColorAt(0.0, QColor(182, 204, 232));
    background.setColorAt(1.0, QColor(96, 128, 176));
    painter.fillRect(QRect(0, 0, 107, 131), background);

    QRadialGradient skin(QPointF(48, 44), 30);
    skin.setColorAt(0.0, QColor(206, 218, 236));
    skin.setColorAt(1.0, QColor(120, 146, 186));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(46, 64, 104));
    painter.drawEllipse(QRectF(26, 18, 56, 54));
    painter.setBrush(skin);
    painter.drawEllipse(QRectF(32, 28, 44, 54));

    QPainterPath shoulders;
    shoulders.moveTo(4, 131);
    shoulders.cubicTo(8, 96, 30, 88, 54, 88);
    shoulders.cubicTo(78, 88, 100, 96, 104, 131);
    shoulders.closeSubpath();
    painter.setBrush(QColor(40, 58, 98));
    painter.drawPath(shoulders);

    painter.setBrush(QColor(34, 48, 80));
    painter.drawEllipse(QRectF(43, 50, 5, 4));
    painter.drawEllipse(QRectF(60, 50, 5, 4));
    painter.setPen(QPen(QColor(70, 88, 130), 1.5));
    painter.drawArc(QRectF(46, 60, 16, 10), 200 * 16, 140 * 16);
    return image;
}

// The result icons are drawn pixel by pixel: at 16 x 16 the eyes and the mouth
// must fall on exact pixels. At 2x the face is drawn on the finer grid, so its
// edge is round; the eyes and mouth stay on whole 1x pixels.
QImage DrawResultIcon(QColor face, int mouth, int scale) {
    QImage image = Canvas(16, 16, scale, QImage::Format_ARGB32);
    const QColor outline = face.darker(170);
    for (int y = 0; y < 16 * scale; ++y) {
        for (int x = 0; x < 16 * scale; ++x) {
            const double dx = (x + 0.5) / scale - 8.0;
            const double dy = (y + 0.5) / scale - 8.0;
            const double distance = std::sqrt(dx * dx + dy * dy);
            if (distance > 7.0) {
                continue;
            }
            const int row = y / scale;
            QColor colour = distance > 6.0 ? outline : face.lighter(110 - static_cast<int>(dy * 2));
            if (distance <= 6.0 && row == 2 && std::abs(dx) < 3.5) {
                colour = Qt::white;
            } else if (distance <= 6.0 && row == 3 && std::abs(dx) < 4.5) {
                colour = face.lighter(150);
            }
            image.setPixelColor(x, y, colour);
        }
    }
    QPainter painter(&image);
    painter.scale(scale, scale);
    const auto dot = [&painter](int x, int y) {
        painter.fillRect(QRect(x, y, 1, 1), Qt::black);
    };
    const std::array<QPoint, 8> eyes = {QPoint(5, 5), QPoint(6, 5),  QPoint(5, 6), QPoint(6, 6),
                                        QPoint(9, 5), QPoint(10, 5), QPoint(9, 6), QPoint(10, 6)};
    for (const QPoint& eye : eyes) {
        dot(eye.x(), eye.y());
    }
    if (mouth == 0) {
        for (int x = 5; x <= 10; ++x) {
            dot(x, 10);
        }
    } else {
        for (int x = 6; x <= 9; ++x) {
            dot(x, 11);
        }
        for (int row = 1; row <= mouth; ++row) {
            dot(6 - row, 11 - row);
            dot(9 + row, 11 - row);
        }
    }
    painter.end();
    return image;
}

QImage DrawProgramIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    DrawGaugeLogo(painter, QRectF(0.5, 0.5, size - 1.0, size - 1.0));
    return image;
}

bool Save(const QImage& image, const QDir& folder, const QString& name, int quality = -1) {
    const QString path = folder.filePath(name);
    if (image.save(path, nullptr, quality)) {
        return true;
    }
    QTextStream(stderr) << "cannot write " << path << '\n';
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: velmora-draw-pictures OUTPUT_FOLDER\n";
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(".")) {
        QTextStream(stderr) << "cannot create " << folder.path() << '\n';
        return 1;
    }
    bool ok = true;
    // The 2x pictures are for screens of two device pixels to the point, and
    // scaled smoothly for those in between.
    for (const int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QString() : QString("@%1x").arg(scale);
        ok = Save(DrawBanner(scale), folder, "banner" + suffix + ".jpg", 92) && ok;
        ok = Save(DrawAboutLogo(scale), folder, "about-logo" + suffix + ".jpg", 92) && ok;
        ok = Save(DrawAboutPortrait(scale), folder, "about-portrait" + suffix + ".jpg", 92) && ok;
        ok =
            Save(DrawResultIcon(QColor(214, 40, 40), 0, scale), folder, "result-bad" + suffix + ".png") && ok;
        ok = Save(DrawResultIcon(QColor(236, 200, 30), 1, scale), folder,
                  "result-corrected" + suffix + ".png") &&
             ok;
        ok = Save(DrawResultIcon(QColor(50, 180, 60), 2, scale), folder, "result-good" + suffix + ".png") &&
             ok;
    }
    for (const int size : {16, 32, 48, 256}) {
        ok = Save(DrawProgramIcon(size), folder, QString("velmora-%1.png").arg(size)) && ok;
    }
    return ok ? 0 : 1;
}
