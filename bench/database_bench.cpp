// Reading hostile strength-class databases: the time to read or refuse each
// and the peak memory of a process that does only that, beside the floor of
// reading the shipped file. Each read runs in a fresh process, with the
// material data window's thirteen fields bound; the files are made at run
// time in a temporary directory.
//
//   database_bench [runs]     default 5; prints medians
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/child_run.h"
#include "materials/strength_class_connection.h"
#include "materials/strength_class_fields.h"
#include "tests/materials_fixtures.h"

namespace {

namespace testing = materials::testing;

struct HostileFile
{
    const char* name;
    std::string sql; // empty: the shipped file
};

std::string rows(long count, const std::string& select)
{
    return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
           std::to_string(count) + ") INSERT INTO Sheet1 " + select + " FROM n";
}

const std::string c16 = "'K' || i, 16, 10, 0.5, 17, 2.2, 1.8, 8, 5.4, 0.27, 0.5, 370, 310";

// "Sheet1" with a free field that holds anything.
const std::string blobKeySheet =
    R"(CREATE TABLE Sheet1 ("Key" BLOB, "Class", "fm,k", "ft,0,k", "ft,90,k", "fc,0,k",
       "fc,90,k", "fv,k", "E0,mean", "Ek", "E90,mean", "Gmean", "rmean", "rk"))";

// A schema that costs SQLite much memory to parse before any row is read.
std::string wideSchema()
{
    std::string sql = testing::createSheet + ";";
    for (int table = 0; table < 600; ++table) {
        sql += "CREATE TABLE t" + std::to_string(table) + " (a";
        for (int column = 0; column < 1000; ++column)
            sql += ", c" + std::to_string(column) + " AS (" + std::to_string(column) + " + 1)";
        sql += ");";
    }
    return sql;
}

std::vector<HostileFile> files()
{
    return {
        {"shipped (floor)", ""},
        {"32,766 rows", testing::createSheet + ";" + rows(32766, "SELECT i, " + c16)},
        {"2 million rows", testing::createSheet + ";" + rows(2'000'000, "(\"Class\") SELECT i")},
        {"100 MB file", testing::createSheet + ";" + rows(1'000'000, "SELECT i, " + c16)},
        {"16 MiB of text", testing::createSheet + ";" +
                               rows(20, "(\"Class\", \"fm,k\") SELECT 'C16', printf('%.*c', "
                                        "900000, 'x')")},
        {"300,000-char class name",
         testing::createSheet + ";" + rows(1, "(\"Class\") SELECT printf('%.*c', 300000, 'x')")},
        // Each class name lies behind 200 KB in the free field, so reading it
        // walks a chain of overflow pages.
        {"60 MB of overflow pages",
         blobKeySheet + ";" + rows(300, "SELECT zeroblob(200000), " + c16)},
        {"14 MB of schema", wideSchema()},
        {"20,000 views", testing::createSheet + ";" + testing::views(20'000)},
        {"1,000 views (allowed)", testing::createSheet + ";" + testing::views(999)},
        {"generated column", "CREATE TABLE Sheet1 (\"ID\", \"Class\", \"fm,k\" AS "
                             "(length(printf('%.*c', 1000000, 'x')))); " +
                                 rows(100, "(\"Class\") SELECT 'K' || i")},
    };
}

int child(const char* file)
{
    materials::StrengthClassConnection connection;
    connection.bind(std::string(materials::classFieldName), [](const std::string&) {});
    for (const std::string_view field : materials::propertyFieldNames)
        connection.bind(std::string(field), [](const std::string&) {});
    connection.setPath(file);
    const auto start = std::chrono::steady_clock::now();
    std::string outcome = "read";
    try {
        connection.open();
        outcome += " " + std::to_string(connection.recordCount()) + " rows";
    } catch (const materials::DatabaseError& error) {
        outcome = error.what();
        outcome = "refused:" + outcome.substr(outcome.find(file) + std::strlen(file) + 1);
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    bench::reportFromChild(ms, outcome.substr(0, 70));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0)
        return child(argv[2]);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    const testing::TemporaryDirectory directory;
    std::vector<std::pair<HostileFile, std::string>> paths;
    for (HostileFile& file : files()) {
        std::string path = JOIST_RUNTIME_DIR "/ZU5ZO.mdb";
        if (!file.sql.empty()) {
            path = directory.file(std::to_string(paths.size()) + ".mdb");
            testing::createDatabase(path, file.sql);
        }
        paths.emplace_back(std::move(file), std::move(path));
    }

    std::printf("%d runs each, medians: time to read or refuse, peak memory of the process\n",
                runs);
    double floorMs = 0;
    long floorKb = 0;
    for (const auto& [file, path] : paths) {
        std::vector<double> times;
        std::vector<long> memory;
        bench::ChildSample last;
        for (int i = 0; i < runs; ++i) {
            last = bench::runChild(argv[0], path);
            times.push_back(last.ms);
            memory.push_back(last.kilobytes);
        }
        const double ms = bench::median(times);
        const long kb = bench::median(memory);
        if (floorMs == 0) {
            floorMs = ms;
            floorKb = kb;
        }
        std::printf("%-24s %9.2f ms %8ld KB  ratio %7.1f %5.2f  %s\n", file.name, ms, kb,
                    ms / floorMs, double(kb) / floorKb, last.note.c_str());
    }
    return 0;
}
