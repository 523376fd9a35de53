// Writes the pixels Windows Imaging Component gives for picture files, for comparison with the Linux
// decoder's.
#include "pictures/testing/PixelDump.h"
#include "platform/win32/WicPictureDecoder.h"

int main(int argc, char** argv) {
    velmora::WicPictureDecoder decoder;
    return velmora::testkit::DumpPictures(decoder, argc, argv);
}
