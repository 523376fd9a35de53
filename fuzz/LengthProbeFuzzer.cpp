// One length read of a file made of the input. The first input byte picks the file's extension, and so
// the probe or TagLib's reader that reads it; the second how many 64 KiB of zeros follow it as a hole,
// so that the reads from the end land in a file larger than the input.
// Whatever the bytes, the read ends, stays within its budget, and a length it answers is one it
// believes: some samples at some rate.
#include "FuzzInput.h"
#include "cue/probes/BelievableLength.h"
#include "cue/probes/ProbeLengthReader.h"
#include "cue/taglib/TagLibLengthReader.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using velmora::fuzz::FuzzInput;

constexpr std::array<const char*, 12> kExtensions = {"wav", "flac", "mp3", "ogg",  "opus", "mpc",
                                                     "wv",  "ape",  "m4a", "aiff", "wma",  "WAV"};
constexpr std::uint64_t kHoleStep = std::uint64_t{64} << 10;

// A file in memory where there is one, made once per process and removed when it ends.
class ScratchFile {
public:
    ScratchFile() {
        const std::string base =
            fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string();
        std::string pattern = base + "/velmora-lengths-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        folder_ = pattern + "/";
    }
    ~ScratchFile() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
};

void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "length not to be believed: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const char* extension = kExtensions[input.Byte() % kExtensions.size()];
    const std::uint64_t hole = input.Byte() * kHoleStep;
    const std::string_view bytes = input.Rest();

    static const ScratchFile scratch;
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(scratch.Folder(), ignored)) {
        fs::remove(entry.path(), ignored);
    }
    const std::string path = scratch.Folder() + "audio." + extension;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    fs::resize_file(path, bytes.size() + hole, ignored);

    velmora::TagLibLengthReader otherFormats;
    velmora::ProbeLengthReader reader(&otherFormats);
    const velmora::LengthReading reading = reader.AudioLengthOf(path);
    if (reading) {
        Require(reading->SampleRate > 0 && reading->Samples > 0, "no samples or no rate");
        const velmora::LengthReading again =
            velmora::Believable(reading, velmora::LowerExtension(path), bytes.size() + hole);
        Require(static_cast<bool>(again), "a length outside the format's bit rates");
    }
    return 0;
}
