#pragma once

// Benchmarks here come in pairs, "<name>" and "<name>Floor", run in the same
// process because these machines' speed drifts from hour to hour. Besides the
// usual table this prints each pair's ratio.

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

namespace bench {

class PairedReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration)
                timeNs_[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto& [name, time] : timeNs_) {
            const auto floor = timeNs_.find(name + "Floor");
            if (floor == timeNs_.end())
                continue;
            std::printf("%-28s %10.1f ns   floor %10.1f ns   ratio %.2f\n", name.c_str(), time,
                        floor->second, time / floor->second);
        }
    }

private:
    std::map<std::string, double> timeNs_;
};

// Runs the registered benchmarks with the paired report.
inline int runPaired(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    PairedReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
