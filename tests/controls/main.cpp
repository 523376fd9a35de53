#include "DrawingRoutinesTest.h"
#include "HTMLStaticTextTest.h"
#include "HTMLabelTest.h"
#include "MarkupAccessibleTest.h"
#include "graphics/qt/testing/QtTestClasses.h"
#include "platform/desktop/PaletteColors.h"

#include <QApplication>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // System colours follow the palette, as in the program.
    velmora::InstallPaletteSysColors();
    velmora::DrawingRoutinesTest drawing;
    velmora::HTMLabelTest label;
    velmora::HTMLStaticTextTest staticText;
    velmora::MarkupAccessibleTest accessible;
    const int failures =
        velmora::testkit::RunTestClasses({&drawing, &label, &staticText, &accessible}, app.arguments());
    return failures == 0 ? 0 : 1;
}
