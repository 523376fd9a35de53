#pragma once

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct Times {
    double real = 0;
    double cpu = 0;
};

// What a run says of one benchmark: the median and the range of its repetitions (all three the same
// for a single run).
struct Summary {
    Times median;
    Times low;
    Times high;
};

// Prints as usual and keeps the times of each benchmark, so that a run can close with its ratios
// against the peer measured in the same run. Ratios come from medians: with repetitions, from the
// median the library reports (aggregates alone included), else from the median of the runs seen.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            Entry& entry = entries_[run.run_name.str()];
            const Times times{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            if (run.run_type == Run::RT_Iteration) {
                entry.samples.push_back(times);
            } else if (run.aggregate_name == "median") {
                entry.median = times;
            } else if (run.aggregate_name == "min") {
                entry.low = times;
            } else if (run.aggregate_name == "max") {
                entry.high = times;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::optional<Summary> Find(const std::string& name) const {
        const auto found = entries_.find(name);
        if (found == entries_.end()) {
            return std::nullopt;
        }
        const Entry& e = found->second;
        if (!e.median && e.samples.empty()) {
            return std::nullopt;
        }
        Summary summary;
        summary.median = e.median ? *e.median : MedianOf(e.samples);
        summary.low = e.low.value_or(summary.median);
        summary.high = e.high.value_or(summary.median);
        for (const Times& t : e.samples) {
            summary.low = {std::min(summary.low.real, t.real), std::min(summary.low.cpu, t.cpu)};
            summary.high = {std::max(summary.high.real, t.real), std::max(summary.high.cpu, t.cpu)};
        }
        return summary;
    }

    // "name: median (low-high)" of the real time, in the benchmark's unit.
    static std::string Describe(const Summary& s) {
        char text[96];
        std::snprintf(text, sizeof text, "%.2f (%.2f-%.2f)", s.median.real, s.low.real, s.high.real);
        return text;
    }

private:
    struct Entry {
        std::vector<Times> samples;
        std::optional<Times> median;
        std::optional<Times> low;
        std::optional<Times> high;
    };

    static Times MedianOf(std::vector<Times> samples) {
        const auto middle = [](std::vector<double> values) {
            std::sort(values.begin(), values.end());
            const std::size_t n = values.size();
            return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
        };
        std::vector<double> real;
        std::vector<double> cpu;
        for (const Times& t : samples) {
            real.push_back(t.real);
            cpu.push_back(t.cpu);
        }
        return {middle(real), middle(cpu)};
    }

    std::map<std::string, Entry> entries_;
};

// Adds the range of the repetitions to the aggregates, so that it is known even when only aggregates
// are reported: BENCHMARK(...)->Apply(AddRange).
inline void AddRange(benchmark::internal::Benchmark* b) {
    b->ComputeStatistics("min",
                         [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
    b->ComputeStatistics("max",
                         [](const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); });
}
