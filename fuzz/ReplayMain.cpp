// Feeds every file named on the command line, or found in a named folder, to the fuzz target once:
// the corpus replay where libFuzzer is not available.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool Replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << file << "\n";
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::size_t replayed = 0;
    bool readable = true;
    for (int i = 1; i < argc; ++i) {
        const fs::path given(argv[i]);
        if (fs::is_directory(given)) {
            for (const fs::directory_entry& entry : fs::recursive_directory_iterator(given)) {
                if (entry.is_regular_file()) {
                    readable = Replay(entry.path()) && readable;
                    ++replayed;
                }
            }
        } else {
            readable = Replay(given) && readable;
            ++replayed;
        }
    }
    std::cout << "replayed " << replayed << " inputs\n";
    return readable && replayed > 0 ? 0 : 1;
}
