// Prints the layout numbers of the markup table on GdiCanvas, after loading the font files given (for
// this process only); the family is the one the files share.
//   markup_layout_dump.exe FAMILY FONT.ttf...
#include "LayoutCases.h"
#include "graphics/win32/GdiCanvas.h"
#include "graphics/win32/GdiHeaders.h"
#include "graphics/win32/testing/GdiSurface.h"

#include <iostream>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: markup_layout_dump.exe FAMILY FONT.ttf...\n";
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        if (!velmora::testkit::AddPrivateFont(argv[i])) {
            std::cerr << "markup_layout_dump: cannot load the font " << argv[i] << '\n';
            return 2;
        }
    }
    HDC dc = CreateCompatibleDC(nullptr);
    {
        velmora::GdiCanvas canvas(dc);
        velmora::testkit::DumpLayouts(canvas, argv[1], std::cout);
    }
    DeleteDC(dc);
    return 0;
}
