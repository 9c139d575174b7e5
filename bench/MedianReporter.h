// SPDX-License-Identifier: GPL-3.0-or-later
// A console reporter that also keeps each benchmark's CPU time, so a
// benchmark program can print its own comparison table at the end. With
// repetitions the median stands for a benchmark; otherwise its one run.
#pragma once

#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const std::string name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                times_[name] = run.GetAdjustedCPUTime();
                medians_.insert(name);
            } else if (run.run_type == Run::RT_Iteration && !medians_.count(name)) {
                times_[name] = run.GetAdjustedCPUTime();
            }
        }
    }

    // The CPU time of the benchmark of that name, in its own unit; NaN when
    // it did not run.
    double Time(const std::string& name) const
    {
        const auto found = times_.find(name);
        return found == times_.end() ? std::nan("") : found->second;
    }

private:
    std::map<std::string, double> times_;
    std::set<std::string> medians_;
};

// The tail of a benchmark program's main: runs what is registered, reporting
// through `reporter`.
inline int RunBenchmarksWith(int argc, char** argv, benchmark::BenchmarkReporter& reporter)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
