#pragma once

// A schedule: a CSV file of designs, one a row, each checked as a design file
// holding its columns would be, and written back with its results appended.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "cli/design_run.h"

namespace cli {

// Where a schedule comes from and goes to. The output is written in row
// order a round of rows at a time, so a schedule of any length needs memory
// for a round only, and one with a long row for that row twice.
struct ScheduleStreams
{
    std::function<std::size_t(char*, std::size_t)> read; // up to n bytes; 0 at the end
    std::function<void(std::string_view)> write;         // the CSV, in order
    std::function<void(std::string_view)> warn;          // a warning, one line
    // The most read and checked at a time, and the least a round grows by
    // for a row that runs on past it.
    std::size_t roundBytes = std::size_t(1) << 22;
};
// Returns the exit code: 0 every row passes, 1 one fails, 2 one is bad. A
// file-wide problem (no header, a row longer than a round may grow to) is a
// ValueRefused; what `write` throws passes through.
int runSchedule(const ScheduleStreams& streams, ClassTable& table);

// The same, for a schedule held in memory.
struct ScheduleRun
{
    std::string output;   // the CSV written
    std::string warnings; // a line each
    int exitCode = 0;
};
ScheduleRun runSchedule(std::string_view csv, ClassTable& table,
                        std::size_t roundBytes = ScheduleStreams().roundBytes);

} // namespace cli
