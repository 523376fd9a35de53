// Whole repairs of audio sheets with 10 to 10,000 tracks, each beside a peer doing only the file work
// (or only one pass over the text) on the same sheet, so that the repair's own cost and its growth show.
#include "cue/Cue.h"
#include "cue/repair/IndexTimes.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

using namespace velmora;

// Every INDEX 01 time needs a carry, so every line is rewritten.
std::string AudioSheet(int tracks) {
    std::string sheet = "REM GENRE Bench\nPERFORMER \"Bench\"\nTITLE \"Bench\"\nFILE \"bench.wav\" WAVE\n";
    for (int t = 1; t <= tracks; ++t) {
        const std::string number = std::to_string(t);
        sheet += "  TRACK " + number + " AUDIO\n    TITLE \"Track " + number + "\"\n";
        // Well formed already, as most INDEX 00 lines are: only the INDEX 01 times change.
        sheet += "    INDEX 00 " + std::string(t < 10 ? "0" : "") + std::to_string(t) + ":00:00\n";
        sheet += "    INDEX 01 " + std::to_string(t) + ":59:80\n";
    }
    return sheet;
}

class MemoryFolder {
public:
    MemoryFolder() {
        std::string pattern = "/dev/shm/velmora-bench-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        path_ = pattern + "/";
        std::ofstream(path_ + "bench.wav").put('\0');
    }
    ~MemoryFolder() { std::filesystem::remove_all(path_); }
    MemoryFolder(const MemoryFolder&) = delete;
    MemoryFolder& operator=(const MemoryFolder&) = delete;
    std::string File(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

class BenchHost : public RepairHost {
public:
    void SetOpenLinkEnabled(bool) override {}
    int ProgressPosition() const override { return 0; }
    void SetProgressPosition(int) override {}
    void PumpEvents() override {}
    void ShowWarning(const std::string&) override {}
    void AddResultRow(const std::string& caption, int) override { benchmark::DoNotOptimize(caption.data()); }
    std::optional<std::string> ChooseFile(const FileFilterList&, const std::string&) override { return {}; }
    TextBuffer& Buffer() override { return buffer; }
    std::uint32_t TickCount() override { return 0; }
    bool AnimatesProgress() const override { return false; }

    TextBuffer buffer;
};

void WholeRun(benchmark::State& bench) {
    const int tracks = static_cast<int>(bench.range(0));
    const std::string sheet = AudioSheet(tracks);
    MemoryFolder folder;
    BenchHost host;
    RepairState state;
    state.CuePath = folder.File("bench.cue");
    for (auto _ : bench) {
        bench.PauseTiming();
        WriteFileAtomically(state.CuePath, sheet);
        bench.ResumeTiming();
        if (traitementCUE(state, host) != RunOutcome::Corrected) {
            bench.SkipWithError("the sheet was not corrected");
        }
    }
    bench.SetComplexityN(tracks);
}

// The peer: the same load, backup and save, without classifying or repairing anything.
void LoadBackupSaveOnly(benchmark::State& bench) {
    const int tracks = static_cast<int>(bench.range(0));
    const std::string sheet = AudioSheet(tracks);
    MemoryFolder folder;
    const std::string path = folder.File("bench.cue");
    TextBuffer buffer;
    FolderStorage disk;
    for (auto _ : bench) {
        bench.PauseTiming();
        WriteFileAtomically(path, sheet);
        bench.ResumeTiming();
        buffer.LoadFromFile(path, disk);
        buffer.SaveToFile(path + ".bak", disk);
        WriteFileAtomically(path, buffer.Text());
    }
    bench.SetComplexityN(tracks);
}

void IndexTimesInMemory(benchmark::State& bench) {
    const int tracks = static_cast<int>(bench.range(0));
    const std::string sheet = NormaliseLineBreaks(AudioSheet(tracks));
    for (auto _ : bench) {
        RepairState state;
        benchmark::DoNotOptimize(NormaliseIndexTimes(state, sheet));
    }
    bench.SetComplexityN(tracks);
}

// The peer: one pass over the same text that copies it.
void OnePassOverTheText(benchmark::State& bench) {
    const int tracks = static_cast<int>(bench.range(0));
    const std::string sheet = NormaliseLineBreaks(AudioSheet(tracks));
    for (auto _ : bench) {
        benchmark::DoNotOptimize(NormaliseLineBreaks(sheet));
    }
    bench.SetComplexityN(tracks);
}

BENCHMARK(WholeRun)->RangeMultiplier(10)->Range(10, 10000)->Complexity(benchmark::oN);
BENCHMARK(LoadBackupSaveOnly)->RangeMultiplier(10)->Range(10, 10000)->Complexity(benchmark::oN);
BENCHMARK(IndexTimesInMemory)->RangeMultiplier(10)->Range(10, 10000)->Complexity(benchmark::oN);
BENCHMARK(OnePassOverTheText)->RangeMultiplier(10)->Range(10, 10000)->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
