#pragma once

// Benchmarks that measure a whole process (its start, its peak memory) run
// each sample as a fresh child of their own executable: `<self> --child <what>`.
// The child reports one line: milliseconds, peak resident kilobytes and an
// optional note.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace bench {

struct ChildSample
{
    double ms = 0;
    long kilobytes = 0;
    std::string note;
};

// In the child: reports its time and its peak memory so far.
inline void reportFromChild(double ms, const std::string& note = "")
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%.3f %ld %s\n", ms, usage.ru_maxrss, note.c_str());
}

inline ChildSample runChild(const char* self, const std::string& what)
{
    const std::string command = std::string("'") + self + "' --child '" + what + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ChildSample sample;
    char note[256] = {};
    if (!pipe || std::fscanf(pipe, "%lf %ld", &sample.ms, &sample.kilobytes) != 2) {
        std::fprintf(stderr, "the run of %s failed\n", what.c_str());
        std::exit(1);
    }
    if (std::fgets(note, sizeof note, pipe)) {
        sample.note = note + std::strspn(note, " ");
        sample.note.erase(sample.note.find_last_not_of('\n') + 1);
    }
    pclose(pipe);
    return sample;
}

template <class T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace bench
