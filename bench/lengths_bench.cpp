// velmora-fix over 2,000 sheets, each with its own audio file on disk (WAV, FLAC and MP3 in turn), with
// the length checks and without them (--no-lengths): the checks read every file's headers, and the goal
// is a batch at most 25% slower. Twice: sheets that are fine (nothing is written, so the reads weigh
// most) and sheets whose times are normalised (written in batches, as a repair run is). The anchor for
// the fine sheets is the batch without checks that also opens every audio file and reads its first page:
// the least any length check can cost. Then one length read of a preallocated 1 GB file of zeros in each
// of four formats, and of an MP3 whose first 300 KB are noise: what a file a download has not yet filled
// costs every run.
#include "RatioReporter.h"
#include "cli/FixRun.h"
#include "cue/probes/ProbeLengthReader.h"
#include "cue/probes/TagLibModule.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using velmora::fix::FixOptions;

constexpr int kSheets = 2000;
constexpr int kTracksPerSheet = 12;
// Interleaved, five runs of each side give a median and a range within a few minutes on a busy disk.
constexpr int kRepeats = 5;
const char* const kFormats[] = {"wav", "flac", "mp3"};

void PutLittleEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// One second of 16-bit stereo at 44,100 a second: what the encoders make the other formats from.
void WriteSecondOfWav(const fs::path& path) {
    const std::uint64_t bytes = 44100 * 4;
    std::string wav = "RIFF";
    PutLittleEndian(wav, 36 + bytes, 4);
    wav += "WAVEfmt ";
    for (const auto& [value, size] :
         {std::pair{16, 4}, {1, 2}, {2, 2}, {44100, 4}, {44100 * 4, 4}, {4, 2}, {16, 2}}) {
        PutLittleEndian(wav, static_cast<std::uint64_t>(value), size);
    }
    wav += "data";
    PutLittleEndian(wav, bytes, 4);
    for (std::uint64_t i = 0; i < bytes / 2; ++i) {
        PutLittleEndian(wav, static_cast<std::uint64_t>(i * 37 % 2000), 2);
    }
    std::ofstream(path, std::ios::binary) << wav;
}

// Tracks a few frames apart, all inside the one second of audio; with `carried`, every INDEX needs its
// frames carried, so the sheet is rewritten.
std::string Sheet(const std::string& audio, bool carried) {
    std::string sheet = "PERFORMER \"Bench\"\r\nTITLE \"Bench\"\r\nFILE \"" + audio + "\" WAVE\r\n";
    // Appended piece by piece: concatenating temporaries trips GCC 12's overlap warning at -O3.
    for (int t = 1; t <= kTracksPerSheet; ++t) {
        const int frames = (t - 1) * 5;
        sheet += t < 10 ? "  TRACK 0" : "  TRACK ";
        sheet += std::to_string(t);
        sheet += " AUDIO\r\n    INDEX 01 ";
        sheet += carried ? "0:0:" : frames < 10 ? "00:00:0" : "00:00:";
        sheet += std::to_string(frames);
        sheet += "\r\n";
    }
    return sheet;
}

class Library {
public:
    explicit Library(bool carried) : carried_(carried) {
        std::string pattern = (fs::temp_directory_path() / "velmora-lengths-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        root_ = pattern;
        const fs::path wav = root_ / "source.wav";
        WriteSecondOfWav(wav);
        const std::string quiet = " >/dev/null 2>&1";
        if (std::system(("flac --silent --force -o '" + (root_ / "source.flac").string() + "' '" +
                         wav.string() + "'" + quiet)
                            .c_str()) != 0 ||
            std::system(
                ("lame --quiet '" + wav.string() + "' '" + (root_ / "source.mp3").string() + "'" + quiet)
                    .c_str()) != 0) {
            std::abort();
        }
        fs::create_directory(root_ / "sheets");
        for (int i = 0; i < kSheets; ++i) {
            const std::string format = kFormats[i % 3];
            const std::string audio = "album" + std::to_string(i) + "." + format;
            fs::copy_file(root_ / ("source." + format), root_ / "sheets" / audio);
        }
        Reset();
    }
    ~Library() { fs::remove_all(root_); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // The sheets as they were before any run, without backups.
    void Reset() const {
        for (int i = 0; i < kSheets; ++i) {
            const fs::path sheet = root_ / "sheets" / ("album" + std::to_string(i) + ".cue");
            std::ofstream(sheet, std::ios::binary | std::ios::trunc)
                << Sheet("album" + std::to_string(i) + "." + kFormats[i % 3], carried_);
            fs::remove(sheet.string() + ".bak");
        }
    }
    std::string Folder() const { return (root_ / "sheets").string(); }
    bool Carried() const { return carried_; }

private:
    bool carried_;
    fs::path root_;
};

// What the anchor adds to a batch: each audio file opened and its first page read.
void ReadFirstPages(const std::string& folder) {
    char page[4096];
    for (int i = 0; i < kSheets; ++i) {
        const std::string audio = folder + "/album" + std::to_string(i) + "." + kFormats[i % 3];
        const int fd = ::open(audio.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::pread(fd, page, sizeof page, 0) <= 0) {
            std::abort();
        }
        ::close(fd);
    }
}

void Batch(benchmark::State& state, const Library& library, bool lengths, bool anchor = false) {
    FixOptions options;
    options.Paths = {library.Folder()};
    options.Recursive = true;
    options.Quiet = true;
    options.ReadLengths = lengths;
    for (auto _ : state) {
        state.PauseTiming();
        if (library.Carried()) {
            library.Reset();
        }
        state.ResumeTiming();
        std::ostringstream out;
        std::ostringstream err;
        if (velmora::fix::RunFix(options, out, err, false) != velmora::fix::AllFine) {
            state.SkipWithError("the batch did not end well");
        }
        if (anchor) {
            ReadFirstPages(library.Folder());
        }
        // Every sheet fits: a length read that went wrong would show here.
        if (!err.str().empty()) {
            state.SkipWithError(err.str().c_str());
        }
    }
}

void PrintRatio(const RatioReporter& reporter, const std::string& with, const std::string& without,
                const char* goal) {
    const std::optional<Summary> a = reporter.Find(with);
    const std::optional<Summary> b = reporter.Find(without);
    if (!a || !b || b->median.real <= 0) {
        return;
    }
    std::printf("%s: median ms (range) %s, without lengths %s; ratio %.3f (CPU %.3f), %s\n", with.c_str(),
                RatioReporter::Describe(*a).c_str(), RatioReporter::Describe(*b).c_str(),
                a->median.real / b->median.real, a->median.cpu / b->median.cpu, goal);
}

// A file a download has reserved and not yet written: 1 GB that reads as zeros, after `noiseBytes` of
// what an unfinished download or a broken tool leaves.
class ReservedFile {
public:
    explicit ReservedFile(const std::string& extension, std::size_t noiseBytes = 0) {
        std::string pattern = (fs::temp_directory_path() / "velmora-zeros-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        folder_ = pattern;
        path_ = (folder_ / ("zeros." + extension)).string();
        const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0 ||
            (::posix_fallocate(fd, 0, off_t{1} << 30) != 0 && ::ftruncate(fd, off_t{1} << 30) != 0)) {
            std::abort();
        }
        std::string noise(noiseBytes, '\0');
        std::uint32_t seed = 26;
        for (char& c : noise) {
            seed = seed * 1664525 + 1013904223;
            c = static_cast<char>(seed >> 24);
        }
        if (::pwrite(fd, noise.data(), noise.size(), 0) != static_cast<ssize_t>(noise.size())) {
            std::abort();
        }
        ::close(fd);
    }
    ~ReservedFile() { fs::remove_all(folder_); }
    ReservedFile(const ReservedFile&) = delete;
    ReservedFile& operator=(const ReservedFile&) = delete;
    const std::string& Path() const { return path_; }

private:
    fs::path folder_;
    std::string path_;
};

long PeakKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void ReadZeros(benchmark::State& state, const ReservedFile& file) {
    velmora::TagLibModule otherFormats(velmora::TagLibModule::FoldersOfThisProgram());
    velmora::ProbeLengthReader reader(&otherFormats);
    const long before = PeakKilobytes();
    for (auto _ : state) {
        if (reader.AudioLengthOf(file.Path())) {
            state.SkipWithError("a length read from zeros");
        }
    }
    state.counters["peak_growth_kB"] = static_cast<double>(PeakKilobytes() - before);
}

} // namespace

int main(int argc, char** argv) {
    // The repetitions of the two sides take turns, so that a disc that slows down for a while (other
    // work on the machine) weighs on both alike.
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> arguments{argv[0], interleave.data()};
    arguments.insert(arguments.end(), argv + 1, argv + argc);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    const Library fine(false);
    const Library carried(true);
    const std::pair<const char*, const Library*> libraries[] = {{"fine", &fine}, {"normalised", &carried}};
    for (const auto& [name, library] : libraries) {
        for (const bool lengths : {true, false}) {
            benchmark::RegisterBenchmark(
                (std::string(name) + (lengths ? "/with_lengths" : "/without_lengths")).c_str(),
                [library = library, lengths](benchmark::State& state) { Batch(state, *library, lengths); })
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1)
                ->Repetitions(kRepeats)
                ->Apply(AddRange);
        }
    }
    benchmark::RegisterBenchmark("fine/one_page_read",
                                 [&fine](benchmark::State& state) { Batch(state, fine, false, true); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(kRepeats)
        ->Apply(AddRange);
    std::vector<std::unique_ptr<ReservedFile>> reserved;
    for (const char* extension : {"mp3", "flac", "wav", "ogg"}) {
        reserved.push_back(std::make_unique<ReservedFile>(extension));
        benchmark::RegisterBenchmark(
            (std::string("zeros_1g/") + extension).c_str(),
            [file = reserved.back().get()](benchmark::State& state) { ReadZeros(state, *file); })
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(kRepeats)
            ->Apply(AddRange);
    }
    reserved.push_back(std::make_unique<ReservedFile>("mp3", 300 * 1000));
    benchmark::RegisterBenchmark(
        "noise_then_zeros_1g/mp3",
        [file = reserved.back().get()](benchmark::State& state) { ReadZeros(state, *file); })
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(kRepeats)
        ->Apply(AddRange);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    // Registered names carry the iterations and repetitions.
    const std::string runs = "/iterations:1/repeats:" + std::to_string(kRepeats);
    for (const char* name : {"fine", "normalised"}) {
        PrintRatio(reporter, std::string(name) + "/with_lengths" + runs,
                   std::string(name) + "/without_lengths" + runs, "goal at most 1.250");
    }
    PrintRatio(reporter, "fine/one_page_read" + runs, "fine/without_lengths" + runs,
               "the anchor: one page of every file");
    return 0;
}
