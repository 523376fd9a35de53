#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

struct Times {
    double real = 0;
    double cpu = 0;
};

// Prints as usual and keeps the time of each benchmark, so that a run can close with its ratios
// against the peer measured in the same run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            times[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Times> times;
};
