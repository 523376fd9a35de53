// Prints the layout numbers of the markup table on QtCanvas, after loading the font files given; the
// family is the one the files share.
//   markup_layout_dump FAMILY FONT.ttf...
#include "LayoutCases.h"
#include "graphics/qt/QtCanvas.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <iostream>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: markup_layout_dump FAMILY FONT.ttf...\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    for (int i = 2; i < argc; ++i) {
        if (QFontDatabase::addApplicationFont(QString::fromLocal8Bit(argv[i])) < 0) {
            std::cerr << "markup_layout_dump: cannot load the font " << argv[i] << '\n';
            return 2;
        }
    }
    // At 96 pixels per inch, as a GDI memory DC is.
    QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    QPainter painter(&image);
    velmora::QtCanvas canvas(painter);
    velmora::testkit::DumpLayouts(canvas, argv[1], std::cout);
    return 0;
}
