// 100 second starts handing their sheets to one running window, end to end
// (process start, hand-over, the repair with its progress animation, exit):
// all at once against one after the other, in the same run.
#include "platform/HandOverClient.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kStarts = 100;
std::string root;
std::map<std::string, std::vector<double>> seconds;

pid_t Launch(const std::vector<std::string>& arguments, bool quiet = false) {
    const pid_t child = fork();
    if (child == 0) {
        // The offscreen window's notes would drown the figures.
        if (quiet) {
            freopen("/dev/null", "w", stderr);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(VELMORA_PROGRAM));
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execv(VELMORA_PROGRAM, argv.data());
        _exit(127);
    }
    return child;
}

bool Succeeded(pid_t child) {
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Fresh sheets whose INDEX time needs carrying, so that every run repairs and saves.
std::vector<std::string> WriteSheets() {
    std::vector<std::string> sheets;
    for (int i = 0; i < kStarts; ++i) {
        const std::string folder = root + "/sheets/" + std::to_string(i);
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/song.mp3") << "audio";
        sheets.push_back(folder + "/album.cue");
        std::ofstream(sheets.back()) << "FILE \"song.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:75:00\n";
    }
    return sheets;
}

void Measure(benchmark::State& state, const char* name, bool atOnce) {
    for (auto _ : state) {
        const std::vector<std::string> sheets = WriteSheets();
        const auto start = std::chrono::steady_clock::now();
        bool ok = true;
        if (atOnce) {
            std::vector<pid_t> children;
            for (const std::string& sheet : sheets) {
                children.push_back(Launch({sheet}));
            }
            for (pid_t child : children) {
                ok = Succeeded(child) && ok;
            }
        } else {
            for (const std::string& sheet : sheets) {
                ok = Succeeded(Launch({sheet})) && ok;
            }
        }
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok) {
            state.SkipWithError("a second start failed");
        }
        state.SetIterationTime(elapsed);
        seconds[name].push_back(elapsed);
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void Summary(const char* name) {
    const auto& values = seconds[name];
    if (values.empty()) {
        return;
    }
    std::printf("%s: median %.2f s, range %.2f to %.2f s over %zu runs\n", name, Median(values),
                *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()), values.size());
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    char pattern[] = "/tmp/velmora-starts-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return 1;
    }
    root = pattern;
    std::filesystem::create_directories(root + "/runtime");
    chmod((root + "/runtime").c_str(), 0700);
    setenv("XDG_RUNTIME_DIR", (root + "/runtime").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    const pid_t window = Launch({}, true);
    const std::string folder = root + "/runtime/velmora";
    while (velmora::HandOver(folder, std::nullopt) != velmora::HandOverResult::Delivered) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }

    benchmark::RegisterBenchmark("simultaneous_100",
                                 [](benchmark::State& state) { Measure(state, "simultaneous_100", true); })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("sequential_100",
                                 [](benchmark::State& state) { Measure(state, "sequential_100", false); })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    kill(window, SIGTERM);
    waitpid(window, nullptr, 0);
    std::filesystem::remove_all(root);

    Summary("simultaneous_100");
    Summary("sequential_100");
    if (!seconds["simultaneous_100"].empty() && !seconds["sequential_100"].empty()) {
        std::printf("100 simultaneous starts take %.2f times as long as 100 sequential ones (medians)\n",
                    Median(seconds["simultaneous_100"]) / Median(seconds["sequential_100"]));
    }
    return 0;
}
