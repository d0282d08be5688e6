// Peak memory of `--schedule` over schedules of every shape, beside the floor
// of the same program checking one design. A schedule is read, checked and
// written a round at a time, so its peak should not grow with its length nor
// with what its rows write; a round grown for a long row holds that row and
// little more. The bound of each: the floor, twice its longest row and 16 MiB.
//   schedule_memory_bench [rows]        (default 1000000)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr double mib = 1024.0 * 1024.0;

// The peak resident memory of one run of the program, in MiB, or -1.
double peakMiB(std::vector<std::string> arguments)
{
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(JOIST_PROGRAM));
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr))
            std::_Exit(127);
        ::execv(JOIST_PROGRAM, argv.data());
        std::_Exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) > 2)
        return -1;
    return double(usage.ru_maxrss) / 1024.0;
}

// A row of the kind a schedule of designs holds: most pass, some fail.
std::string designRow(long i)
{
    std::string row = "J";
    row += std::to_string(i);
    row += ',';
    row += std::to_string(2 + double(i % 61) * 0.1);
    row += i % 7 == 3 ? ",75" : ",44";
    row += i % 3 == 0 ? ",175" : ",225";
    row += i % 5 == 0 ? ",C16,\r\n" : ",C24,\r\n";
    return row;
}

// A row refused for a breadth its list does not offer, with a long id.
std::string refusedRow(long i)
{
    std::string row = "J";
    row += std::to_string(i);
    row.append(30, 'x');
    row += ',';
    row += std::to_string(2 + double(i % 61) * 0.1);
    row += ",47,225,C24,\r\n";
    return row;
}

// A row of one field: its message and empty columns write about twenty
// times what it reads.
std::string oneFieldRow(long)
{
    return "x\r\n";
}

struct Shape
{
    std::string name;
    long bytes = 0;                       // rows are written until the file holds this
    std::function<std::string(long)> row; // the i-th short row
    long longFieldAt = -1, longField = 0; // a quoted field this long, from this byte on
};

// Writes the schedule and returns its longest row's length in bytes.
long writeSchedule(const std::filesystem::path& path, const Shape& shape)
{
    std::ofstream out(path, std::ios::binary);
    const std::string header = "id,span,breadth,depth,strengthClass,note\r\n";
    out << header;
    long written = long(header.size()), longest = 0;
    bool longFieldDue = shape.longFieldAt >= 0;
    for (long i = 0; written < shape.bytes; ++i) {
        std::string row = shape.row(i);
        if (longFieldDue && written >= shape.longFieldAt) {
            // A note of short lines, with commas and quotes doubled.
            const std::string line = "a \"\"note\"\", on a line\n";
            row = "L,4,44,225,C24,\"";
            for (long held = 0; held + long(line.size()) <= shape.longField;
                 held += long(line.size()))
                row += line;
            row += "\"\r\n";
            longFieldDue = false;
        }
        out << row;
        written += long(row.size());
        longest = std::max(longest, long(row.size()));
    }
    return longest;
}

} // namespace

int main(int argc, char** argv)
{
    const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("schedule-memory-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path design = folder / "one.joist", out = folder / "out.csv";
    std::ofstream(design) << R"({"format": "timber-joist design", "version": 1, "inputs": {}})";

    const double floor = peakMiB({"--check", design.string()});
    std::printf("%-44s %9s %12s %9s %9s\n", "run", "input MB", "longest row", "peak MiB",
                "bound MiB");
    std::printf("%-44s %9s %12s %9.1f\n", "floor: --check of one design", "", "", floor);
    const long rowBytes = long(designRow(rows).size());
    const Shape shapes[] = {
        {"uniform rows, a tenth as many", rows / 10 * rowBytes, designRow},
        {"uniform rows", rows * rowBytes, designRow},
        {"71 MB of rows refused for a value", 71000000, refusedRow},
        {"71 MB of rows of one field", 71000000, oneFieldRow},
        {"71 MB, a 29 MiB quoted field 4 MiB in", 71000000, designRow, 4L << 20, 29L << 20},
    };
    bool held = floor > 0;
    for (const Shape& shape : shapes) {
        const std::filesystem::path schedule = folder / "schedule.csv";
        const long longest = writeSchedule(schedule, shape);
        const double peak = peakMiB({"--schedule", schedule.string(), "--output", out.string()});
        const double bound = floor + 2 * double(longest) / mib + 16;
        const std::string row = longest < 1 << 20 ? std::to_string(longest) + " B"
                                                  : std::to_string(longest >> 20) + " MiB";
        std::printf("%-44s %9.1f %12s %9.1f %9.1f\n", shape.name.c_str(),
                    double(std::filesystem::file_size(schedule)) / 1e6, row.c_str(), peak, bound);
        held = held && peak > 0 && peak <= bound && peak < 100;
    }
    std::printf("goal: every peak within its bound and under 100 MiB: %s\n",
                held ? "met" : "NOT MET");
    std::filesystem::remove_all(folder);
}
