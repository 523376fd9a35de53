#include "cli/ProgramMain.h"

#include <unistd.h>

int main(int argc, char** argv) {
    return velmora::fix::RunProgram(std::vector<std::string>(argv + 1, argv + argc),
                                    ::isatty(STDERR_FILENO) == 1);
}
