// Design files and schedules, each beside its floor in the same run:
// - a --schedule of 100,000 varied rows (the table read, every row checked,
//   the CSV written, all in memory) against only parsing the schedule and
//   writing the same CSV, results included;
// - opening a design file in the real main window, offscreen (every input
//   set, one check, the sketch drawn, the window repainted, the recent list
//   written) against only reading and checking the file.
//
//   design_file_bench [--benchmark_min_time=...]
#include <benchmark/benchmark.h>
#include <random>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include "bench/paired_reporter.h"
#include "cli/command_line.h"
#include "document/csv.h"
#include "document/design_file.h"
#include "materials/strength_class_sequences.h"
#include "ui/main_window.h"

namespace {

constexpr int scheduleRows = 100000;

// A schedule as an engineer might write one, with every row different.
const std::string& schedule()
{
    static const std::string text = [] {
        std::mt19937 random(22);
        auto pick = [&random](std::initializer_list<const char*> items) {
            return *(items.begin() + random() % items.size());
        };
        std::string csv = "id,span,spacing,breadth,depth,strengthClass,deadLoad,liveLoad\r\n";
        for (int row = 1; row <= scheduleRows; ++row) {
            csv += 'J';
            csv += std::to_string(row);
            csv += ',';
            csv += std::to_string(1 + random() % 6);
            csv += '.';
            csv += std::to_string(random() % 1000);
            csv += ',';
            csv += pick({"300", "400", "450", "600"});
            csv += ",";
            csv += pick({"36", "44", "75"});
            csv += ",";
            csv += pick({"150", "175", "200", "225"});
            csv += ",";
            csv += pick({"C16", "C24", "C27", "D30"});
            csv += ",0.";
            csv += std::to_string(3 + random() % 6) + ",";
            csv += pick({"1.5", "2", "2.5"});
            csv += "\r\n";
        }
        return csv;
    }();
    return text;
}

std::string tablePath()
{
    return materials::databasePath(JOIST_RUNTIME_DIR);
}

void Schedule(benchmark::State& state)
{
    int exitCode = 0;
    for (auto _ : state) {
        cli::ClassTable table(tablePath()); // read once per run, as the command line does
        const cli::ScheduleRun run = cli::runSchedule(schedule(), table);
        benchmark::DoNotOptimize(run.output.data());
        exitCode = run.exitCode;
    }
    state.counters["rows"] = scheduleRows;
    state.counters["exitCode"] = exitCode;
}

// Reads the schedule and writes the very CSV the schedule writes, its result
// columns taken from one run made beforehand.
void ScheduleFloor(benchmark::State& state)
{
    cli::ClassTable table(tablePath());
    const std::vector<document::CsvRecord> written =
        document::parseCsv(cli::runSchedule(schedule(), table).output);
    for (auto _ : state) {
        const std::vector<document::CsvRecord> read = document::parseCsv(schedule());
        std::string out;
        out.reserve(schedule().size() * 2);
        for (std::size_t row = 0; row < read.size(); ++row) {
            benchmark::DoNotOptimize(read[row].fields.data());
            document::appendCsvRecord(out, written[row].fields);
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["rows"] = scheduleRows;
}

BENCHMARK(Schedule)->Unit(benchmark::kMillisecond);
BENCHMARK(ScheduleFloor)->Unit(benchmark::kMillisecond);

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

// Two designs that differ in every input, so that each open changes them all.
QString designPath(int which)
{
    const QString path = folder().filePath(QStringLiteral("design%1.joist").arg(which));
    if (!QFile::exists(path)) {
        document::DesignInputs inputs = document::startInputs();
        if (which == 1) {
            inputs = document::inputsFromValues({{"span", "3.75"},
                                                 {"spacing", "400"},
                                                 {"breadth", "75"},
                                                 {"depth", "200"},
                                                 {"bearingLength", "75"},
                                                 {"camber", "2"},
                                                 {"deadLoad", "0.6"},
                                                 {"liveLoad", "2"},
                                                 {"kmod", "1.0"},
                                                 {"strengthClass", "C24"}});
        }
        document::writeDesignFile(path, inputs, {});
    }
    return path;
}

void OpenDesign(benchmark::State& state)
{
    ui::FrmMain window(JOIST_RUNTIME_DIR);
    window.showModeless();
    QApplication::processEvents();
    const QString paths[] = {designPath(0), designPath(1)};
    int which = 0;
    for (auto _ : state) {
        if (!window.openDesign(paths[which]))
            state.SkipWithError("the design did not open");
        QApplication::processEvents(); // the repaint
        which = 1 - which;
    }
}

void OpenDesignFloor(benchmark::State& state)
{
    const QString paths[] = {designPath(0), designPath(1)};
    int which = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(document::readDesignFile(paths[which]));
        which = 1 - which;
    }
}

BENCHMARK(OpenDesign)->Unit(benchmark::kMicrosecond);
BENCHMARK(OpenDesignFloor)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The recent-designs list it keeps is its own.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder().path()));
    return bench::runPaired(argc, argv);
}
