#include "cli/ProgramMain.h"
#include "files/win32/WidePaths.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

// Windows hands the arguments over as UTF-16; the engine works in UTF-8 and names files through the
// wide calls of the file layer.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(velmora::Utf8FromWide(argv[i]));
    }
    // Rows, JSON and diffs go out byte for byte, with the line breaks of every other build.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return velmora::fix::RunProgram(arguments, _isatty(_fileno(stderr)) != 0);
}
