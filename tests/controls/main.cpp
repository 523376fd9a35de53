#include "DrawingRoutinesTest.h"
#include "HTMLStaticTextTest.h"
#include "HTMLabelTest.h"
#include "MarkupAccessibleTest.h"
#include "platform/desktop/PaletteColors.h"

#include <QApplication>
#include <QtTest>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // System colours follow the palette, as in the program.
    velmora::InstallPaletteSysColors();
    int failures = 0;
    velmora::DrawingRoutinesTest drawing;
    failures += QTest::qExec(&drawing, argc, argv);
    velmora::HTMLabelTest label;
    failures += QTest::qExec(&label, argc, argv);
    velmora::HTMLStaticTextTest staticText;
    failures += QTest::qExec(&staticText, argc, argv);
    velmora::MarkupAccessibleTest accessible;
    failures += QTest::qExec(&accessible, argc, argv);
    return failures == 0 ? 0 : 1;
}
