// Peak memory of `--schedule` over long schedules, beside the floor of the
// same program checking one design: the schedule is read, checked and
// written a block at a time, so its peak should not grow with its length.
//   schedule_memory_bench [rows]        (default 1000000)
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

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
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
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

void writeSchedule(const std::filesystem::path& path, long rows, bool bad)
{
    std::ofstream out(path, std::ios::binary);
    out << "id,span,breadth,depth,strengthClass\r\n";
    const std::string longId(bad ? 30 : 0, 'x');
    for (long i = 0; i < rows; ++i)
        out << "J" << i << longId << "," << 2 + double(i % 61) * 0.1 << ","
            << (bad          ? "47"
                : i % 7 == 3 ? "75"
                             : "44")
            << "," << (i % 3 == 0 ? "175" : "225") << (i % 5 == 0 ? ",C16" : ",C24") << "\r\n";
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
    std::printf("%-34s %10s %12s\n", "run", "input MB", "peak MiB");
    std::printf("%-34s %10s %12.1f\n", "floor: --check of one design", "", floor);
    for (const bool bad : {false, true}) {
        const std::filesystem::path schedule = folder / (bad ? "bad.csv" : "good.csv");
        writeSchedule(schedule, rows, bad);
        const double peak = peakMiB({"--schedule", schedule.string(), "--output", out.string()});
        std::printf("%-34s %10.1f %12.1f\n",
                    bad ? "--schedule, every row refused" : "--schedule, rows checked",
                    double(std::filesystem::file_size(schedule)) / 1e6, peak);
    }
    std::printf("goal: every schedule's peak under 100 MiB\n");
    std::filesystem::remove_all(folder);
}
