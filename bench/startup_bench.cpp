// Start-up to the first painted window, and resident memory then, of velmora
// against a minimal Qt Widgets window (bench/minimal_window.cpp), each started
// afresh as a process in the same run. Both run with VELMORA_STARTUP_PROBE, which
// makes them write "painted <kB>" and end once their window has painted.
// Usage: startup_bench [VELMORA MINIMAL_WINDOW] [benchmark options]; the
// platform is QT_QPA_PLATFORM's (offscreen when unset).
#include "RatioReporter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Start {
    double seconds = 0;
    long residentKb = -1;
    // User and system time of the whole run: on a busy machine the wall time
    // also counts waiting for a core.
    double cpuMs = 0;
};

// Starts the program in a private runtime and settings folder, so that it is a
// first instance and reads no user's settings, and waits for its first paint.
Start StartOnce(const std::string& program) {
    char folder[] = "/tmp/velmora-startup-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        return {};
    }
    const std::string base(folder);
    std::vector<std::string> environment{"VELMORA_STARTUP_PROBE=1", "XDG_RUNTIME_DIR=" + base,
                                         "XDG_CONFIG_HOME=" + base + "/config",
                                         "XDG_DATA_HOME=" + base + "/data"};
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string entry(*variable);
        const std::string name = entry.substr(0, entry.find('='));
        if (name != "XDG_RUNTIME_DIR" && name != "XDG_CONFIG_HOME" && name != "XDG_DATA_HOME") {
            environment.push_back(entry);
        }
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        environment.push_back("QT_QPA_PLATFORM=offscreen");
    }
    std::vector<char*> envp;
    for (std::string& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    int output[2];
    if (pipe(output) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    std::string path = program;
    char* argv[] = {path.data(), nullptr};
    const auto begin = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    Start start;
    if (spawned == 0) {
        std::string line;
        char c = 0;
        while (read(output[0], &c, 1) == 1 && c != '\n') {
            line += c;
        }
        start.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        if (line.rfind("painted ", 0) == 0) {
            start.residentKb = std::strtol(line.c_str() + 8, nullptr, 10);
        }
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        start.cpuMs = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                      static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    }
    close(output[0]);
    std::filesystem::remove_all(base);
    return start;
}

void Measure(benchmark::State& state, const std::string& program) {
    for (auto _ : state) {
        const Start start = StartOnce(program);
        if (start.residentKb < 0) {
            state.SkipWithError(("no first paint from " + program).c_str());
            break;
        }
        state.SetIterationTime(start.seconds);
        state.counters["resident_kB"] = static_cast<double>(start.residentKb);
        state.counters["cpu_ms"] = start.cpuMs;
    }
}

// Keeps the median, least and most of each repeated benchmark.
class StartupReporter : public RatioReporter {
public:
    struct Figures {
        double median = 0, least = 0, most = 0;
        double residentMedian = 0, residentLeast = 0, residentMost = 0;
        double cpuMedian = 0, cpuLeast = 0, cpuMost = 0;
    };

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Aggregate) {
                continue;
            }
            Figures& figures = figures_[run.run_name.function_name];
            const double time = run.GetAdjustedRealTime();
            const auto value = [&run](const char* name) {
                const auto counter = run.counters.find(name);
                return counter == run.counters.end() ? 0.0 : static_cast<double>(counter->second);
            };
            const double resident = value("resident_kB");
            const double cpu = value("cpu_ms");
            if (run.aggregate_name == "median") {
                figures.median = time;
                figures.residentMedian = resident;
                figures.cpuMedian = cpu;
            } else if (run.aggregate_name == "min") {
                figures.least = time;
                figures.residentLeast = resident;
                figures.cpuLeast = cpu;
            } else if (run.aggregate_name == "max") {
                figures.most = time;
                figures.residentMost = resident;
                figures.cpuMost = cpu;
            }
        }
        RatioReporter::ReportRuns(runs);
    }

    void Summary(double timeGoal, double memoryGoal) const {
        const auto found = [&](const char* name) {
            const auto at = figures_.find(name);
            return at == figures_.end() ? Figures{} : at->second;
        };
        const Figures velmora = found("velmora");
        const Figures peer = found("minimal_window");
        if (peer.median <= 0 || peer.residentMedian <= 0) {
            return;
        }
        std::printf(
            "\nstart-up to the first paint, median (range): velmora %.1f ms (%.1f to %.1f), minimal window "
            "%.1f ms (%.1f to %.1f); ratio %.2f, goal at most %.2f\n",
            velmora.median, velmora.least, velmora.most, peer.median, peer.least, peer.most,
            velmora.median / peer.median, timeGoal);
        std::printf(
            "processor time of the whole run, median (range): velmora %.1f ms (%.1f to %.1f), minimal "
            "window %.1f ms (%.1f to %.1f); ratio %.2f\n",
            velmora.cpuMedian, velmora.cpuLeast, velmora.cpuMost, peer.cpuMedian, peer.cpuLeast, peer.cpuMost,
            peer.cpuMedian > 0 ? velmora.cpuMedian / peer.cpuMedian : 0.0);
        std::printf(
            "resident memory at the first paint, median (range): velmora %.0f kB (%.0f to %.0f), minimal "
            "window %.0f kB (%.0f to %.0f); ratio %.2f, goal at most %.2f\n",
            velmora.residentMedian, velmora.residentLeast, velmora.residentMost, peer.residentMedian,
            peer.residentLeast, peer.residentMost, velmora.residentMedian / peer.residentMedian, memoryGoal);
    }

private:
    std::map<std::string, Figures> figures_;
};

} // namespace

int main(int argc, char** argv) {
    std::string velmora = VELMORA_PROGRAM;
    std::string minimal = MINIMAL_WINDOW_PROGRAM;
    if (argc >= 3 && argv[1][0] != '-' && argv[2][0] != '-') {
        velmora = argv[1];
        minimal = argv[2];
        argv[2] = argv[0];
        argv += 2;
        argc -= 2;
    }
    benchmark::Initialize(&argc, argv);
    // Taken in turns, so that a busy moment of the machine falls on both.
    for (const auto& [name, program] :
         {std::pair{"minimal_window", minimal}, std::pair{"velmora", velmora}}) {
        benchmark::RegisterBenchmark(
            name, [program = program](benchmark::State& state) { Measure(state, program); })
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(15)
            ->ReportAggregatesOnly(true)
            ->ComputeStatistics(
                "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
            ->ComputeStatistics(
                "max", [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); })
            ->Unit(benchmark::kMillisecond);
    }
    StartupReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    reporter.Summary(1.3, 1.3);
    return 0;
}
