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
        // With --benchmark_repetitions the fastest repetition counts: the
        // others lost time to whatever else the machine was doing.
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            const Time time{run.GetAdjustedRealTime(), benchmark::GetTimeUnitString(run.time_unit),
                            run.real_accumulated_time / double(run.iterations)};
            const auto [kept, added] = times_.try_emplace(run.benchmark_name(), time);
            if (!added && time.seconds < kept->second.seconds)
                kept->second = time;
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const auto& [name, time] : times_) {
            const auto floor = times_.find(name + "Floor");
            if (floor == times_.end())
                continue;
            std::printf("%-28s %10.1f %s   floor %10.1f %s   ratio %.2f\n", name.c_str(),
                        time.value, time.unit, floor->second.value, floor->second.unit,
                        time.seconds / floor->second.seconds);
        }
    }

private:
    struct Time
    {
        double value; // in `unit`, as the table shows it
        const char* unit;
        double seconds;
    };
    std::map<std::string, Time> times_;
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
