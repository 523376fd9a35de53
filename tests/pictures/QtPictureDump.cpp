// Writes the pixels the Linux decoder gives for picture files, for comparison with the Windows one.
#include "pictures/qt/QtPictureDecoder.h"
#include "pictures/testing/PixelDump.h"

#include <QGuiApplication>

int main(int argc, char** argv) {
    // Qt's image readers are plug-ins, found once an application exists.
    int noArguments = 1;
    QGuiApplication application(noArguments, argv);
    velmora::QtPictureDecoder decoder;
    return velmora::testkit::DumpPictures(decoder, argc, argv);
}
