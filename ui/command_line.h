#pragma once

// The program's modes without a window: --help, --version, --check of one
// design file and --schedule of a CSV file of designs. They need no display.

#include <array>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/design_check.h"
#include "engine/design_inputs.h"
#include "engine/joist_design.h"
#include "materials/strength_class_connection.h"
#include "ui/design_aid_lines.h"
#include "ui/design_file.h"

namespace ui {

// Whether the arguments ask for one of these modes; decided before any
// QApplication is made.
bool isCommandLineMode(int argc, char** argv);

// Runs the mode in a QCoreApplication of its own; returns the exit code:
// 0 passes, 1 fails, 2 a check stopped or an input was bad.
int runCommandLine(int argc, char** argv);

// The strength-class table, read once through the window's sequences, and
// the bound texts of each class asked for.
class ClassTable
{
public:
    // Throws materials::DatabaseError.
    explicit ClassTable(const std::string& path);
    ~ClassTable();

    struct Row
    {
        joist::JoistDesign values; // the bound fields, read once
        std::string problem;       // a field the design cannot read, in words
    };
    // The first row of that name, or null. Safe to call from several threads.
    const Row* find(const std::string& className);
    const std::string& path() const { return path_; }

private:
    class Names;
    std::string path_;
    materials::StrengthClassConnection connection_;
    std::array<std::string, joist::inputDefinitions.size()> bound_;
    std::unique_ptr<Names> names_;
    std::unordered_map<std::string, int> firstRow_;
    std::unordered_map<std::string, Row> rows_; // rows stay put as it grows
    std::mutex mutex_;
};

// One design checked as the window checks it, in the C locale.
struct DesignRun
{
    enum class Outcome { passes, fails, bad };
    Outcome outcome = Outcome::bad;
    // By joist::ResultLabel; the vibration ratios only when the basis checks
    // vibration.
    std::array<std::string, 11> texts;
    DesignAids aids;
    std::string message; // why the design is bad
};
DesignRun runDesign(const DesignInputs& inputs, const joist::DesignBasis& basis, ClassTable& table);

struct ScheduleRun
{
    std::string output;   // the CSV written
    std::string warnings; // lines for stderr
    int exitCode = 0;
};
// The whole schedule; a file-wide problem (no header) is a ValueRefused.
ScheduleRun runSchedule(std::string_view csv, ClassTable& table);

} // namespace ui
