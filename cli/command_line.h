#pragma once

// The program's modes without a window: --help, --version, --check of one
// design file and --schedule of a CSV file of designs. They need no display.

#include "cli/design_run.h"
#include "cli/schedule.h"

namespace cli {

// Whether the arguments ask for one of these modes; decided before any
// QApplication is made.
bool isCommandLineMode(int argc, char** argv);

// Runs the mode in a QCoreApplication of its own; returns the exit code:
// 0 passes, 1 fails, 2 a check stopped or an input was bad.
int runCommandLine(int argc, char** argv);

} // namespace cli
