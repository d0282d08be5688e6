#pragma once

// A schedule: a CSV file of designs, one a row, each checked as a design file
// holding its columns would be, and written back with its results appended.

#include <string>
#include <string_view>

#include "ui/design_run.h"

namespace ui {

struct ScheduleRun
{
    std::string output;   // the CSV written
    std::string warnings; // lines for stderr
    int exitCode = 0;
};
// The whole schedule; a file-wide problem (no header) is a ValueRefused.
ScheduleRun runSchedule(std::string_view csv, ClassTable& table);

} // namespace ui
