// One repair run over a sheet made of the input, in a scratch folder. The first input byte picks the
// files that lie beside the sheet, the second how the chooser answers.
// Whatever the run does, nothing may be lost: a changed sheet has a backup of the original, and no
// temporary file stays behind.
#include "FuzzInput.h"
#include "cue/Cue.h"
#include "files/TemporaryNames.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using velmora::fuzz::FuzzInput;

class ScriptedHost final : public velmora::RepairHost {
public:
    ScriptedHost(std::uint8_t answers, std::string folder) : answers_(answers), folder_(std::move(folder)) {}
    ~ScriptedHost() override = default;

    void SetOpenLinkEnabled(bool) override {}
    int ProgressPosition() const override { return progress_; }
    void SetProgressPosition(int position) override { progress_ = position; }
    void PumpEvents() override {}
    void ShowWarning(const std::string&) override {}
    void AddResultRow(const std::string&, int) override {}
    std::optional<std::string> ChooseFile(const velmora::FileFilterList&, const std::string&) override {
        // Two bits per call, so successive choosers of one run can answer differently.
        const int answer = answers_ >> (2 * (calls_++ % 4)) & 3;
        switch (answer) {
        case 0:
            return std::nullopt;
        case 1:
            return folder_ + "sub/chosen.wav";
        case 2:
            return folder_ + "sub/image.bin";
        default:
            return folder_ + "missing.flac";
        }
    }
    velmora::TextBuffer& Buffer() override { return buffer_; }
    std::uint32_t TickCount() override { return tick_++; }
    bool AnimatesProgress() const override { return false; }

private:
    std::uint8_t answers_;
    std::string folder_;
    int calls_ = 0;
    int progress_ = 0;
    std::uint32_t tick_ = 0;
    velmora::TextBuffer buffer_;
};

// A folder in memory where there is one, made once per process and removed when it ends.
class ScratchFolder {
public:
    ScratchFolder() {
        const std::string base =
            fs::is_directory("/dev/shm") ? "/dev/shm" : fs::temp_directory_path().string();
        std::string pattern = base + "/velmora-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        path_ = pattern + "/";
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

void Write(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::optional<std::string> Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    // Through a string stream: GCC 12 at -O3 takes the stream buffer iterators for null dereferences.
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "lost data: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    const std::uint8_t files = input.Byte();
    const std::uint8_t answers = input.Byte();
    const std::string_view sheet = input.Rest();

    static const ScratchFolder scratch;
    const std::string& folder = scratch.Path();
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ignored)) {
        fs::remove_all(entry.path(), ignored);
    }
    fs::create_directory(folder + "sub", ignored);

    const std::string sheetPath = folder + "sheet.cue";
    Write(sheetPath, sheet);
    const char* siblings[] = {"sheet.wav",      "sheet.bin",     "Track 01.flac", "sheet.ape",
                              "sub/chosen.wav", "sub/image.bin", "sheet.cue.bak", "album.mp3"};
    for (int i = 0; i < 8; ++i) {
        if (input.Bit(files, i)) {
            Write(folder + siblings[i], "x");
        }
    }
    const std::optional<std::string> backupBefore = Read(sheetPath + ".bak");

    velmora::RepairState state;
    state.CuePath = sheetPath;
    ScriptedHost host(answers, folder);
    try {
        velmora::traitementCUE(state, host);
    } catch (const velmora::Error&) {
    }

    const std::optional<std::string> sheetAfter = Read(sheetPath);
    const std::optional<std::string> backupAfter = Read(sheetPath + ".bak");
    const std::string original(sheet);
    Require(sheetAfter.has_value(), "the sheet is gone");
    if (*sheetAfter != original) {
        Require(backupAfter == original, "the sheet changed without a backup of its text");
    }
    if (backupBefore && backupAfter != backupBefore) {
        Require(backupAfter == original, "the backup was overwritten with something else than the sheet");
    }
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder, ignored)) {
        Require(!velmora::IsTemporaryName(entry.path().filename().string()),
                "a temporary file was left behind");
    }
    return 0;
}
