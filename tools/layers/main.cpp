#include "tools/layers/IncludeCheck.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

// velmora-layers ROOT MAP: checks the includes of the source tree at ROOT against the layer map MAP,
// prints every fault and exits with 1 when there is any.
int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: velmora-layers ROOT MAP\n";
        return 2;
    }
    std::ifstream in(argv[2]);
    if (!in) {
        std::cerr << "velmora-layers: cannot read " << argv[2] << "\n";
        return 2;
    }
    std::ostringstream text;
    text << in.rdbuf();
    try {
        const velmora::layers::LayerMap map = velmora::layers::LayerMap::Parse(text.str());
        const std::vector<std::string> faults = velmora::layers::CheckIncludes(argv[1], map);
        for (const std::string& fault : faults) {
            std::cerr << fault << "\n";
        }
        return faults.empty() ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << "velmora-layers: " << error.what() << "\n";
        return 2;
    }
}
