#include <array>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

#include "materials/shipped_table.h"
#include "materials/strength_class_connection.h"
#include "materials/strength_class_fields.h"
#include "materials_fixtures.h"

namespace materials {
namespace {

using testing::classRows;
using testing::createSheet;
using testing::insertRow;
using testing::TemporaryDirectory;
using Kind = DatabaseErrorKind;

const std::string c16Values = "16, 10, 0.5, 17, 2.2, 1.8, 8, 5.4, 0.27, 0.5, 370, 310";

// Each case makes `file` (and what lies beside it) at run time.
struct HostileFile
{
    const char* name;
    std::function<void(const std::string& file)> make;
    bool allFields; // the material window's thirteen, else the main window's six
    std::optional<Kind> kind;
    std::string message; // what follows the file's path; empty when it opens
};

std::function<void(const std::string&)> table(std::string sql)
{
    return [sql](const std::string& file) { testing::createDatabase(file, sql); };
}

std::function<void(const std::string&)> sheetAnd(std::string sql)
{
    return table(createSheet + ";" + sql);
}

std::function<void(const std::string&)> besideSheet(std::string suffix,
                                                    std::function<void(const std::string&)> make)
{
    return [suffix, make](const std::string& file) {
        testing::createDatabase(file, createSheet + ";" + classRows({"C16"}));
        make(file + suffix);
    };
}

const auto fifo = [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); };

std::function<void(const std::string&)> shippedCutTo(std::size_t size)
{
    return [size](const std::string& file) {
        testing::writeFile(file, testing::readFile(JOIST_SHIPPED_DATABASE).substr(0, size));
    };
}

// Rows 1 to 32,766 are sound; from row 32,767 on the class name is binary,
// which the reader would refuse as such if it read that far.
const std::string tooManyRows =
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
    "INSERT INTO Sheet1 (\"ID\", \"Class\") SELECT i, CASE WHEN i < 32767 THEN 'K' || i ELSE "
    "x'00' END FROM n";

const std::string shownFields =
    R"("Class", "fm,k", "ft,0,k", "ft,90,k", "fc,0,k", "fc,90,k", "fv,k", "E0,mean", "Ek",
       "E90,mean", "Gmean", "rmean", "rk")";

const std::string sideFileRefused = ", which is a named pipe (FIFO), not a regular file; SQLite "
                                    "would keep unfinished changes in it";

const HostileFile hostileFiles[] = {
    {"missing", [](const std::string&) {}, false, Kind::fileMissing, ": file not found"},
    {"empty", [](const std::string& f) { testing::writeFile(f, ""); }, false, Kind::notADatabase,
     ": the file is empty, not an SQLite 3 database"},
    {"noise", [](const std::string& f) { testing::writeFile(f, std::string(4096, '\x5A')); }, false,
     Kind::notADatabase, ": the file is not an SQLite 3 database"},
    {"directory", [](const std::string& f) { std::filesystem::create_directory(f); }, false,
     Kind::cannotOpen, ": it is a directory, not a file"},
    {"fifo itself", fifo, false, Kind::cannotOpen,
     ": it is a named pipe (FIFO), not a regular file"},
    {"fifo journal", besideSheet("-journal", fifo), false, Kind::cannotOpen, sideFileRefused},
    {"fifo wal", besideSheet("-wal", fifo), false, Kind::cannotOpen, sideFileRefused},
    {"fifo shm", besideSheet("-shm", fifo), false, Kind::cannotOpen, sideFileRefused},
    {"journal directory",
     besideSheet("-journal", [](const std::string& p) { std::filesystem::create_directory(p); }),
     false, Kind::cannotOpen, ", which is a directory, not a regular file"},
    {"hot journal",
     besideSheet("-journal",
                 [](const std::string& p) {
                     testing::writeFile(p, std::string("\xD9\xD5\x05\xF9\x20\xA1\x63\xD7", 8) +
                                               std::string(504, '\0'));
                 }),
     false, Kind::cannotOpen, ": it has changes that are not finished"},
    {"finished journal",
     besideSheet("-journal",
                 [](const std::string& p) { testing::writeFile(p, std::string(512, '\0')); }),
     false, std::nullopt, ""},
    {"cut by 4 bytes", shippedCutTo(8188), false, Kind::damaged,
     ": its length, 8188 bytes, is not a whole number of its 4096-byte pages: the file is "
     "damaged or was cut off"},
    {"cut to a page", shippedCutTo(4096), false, Kind::damaged,
     ": it is 4096 bytes long, but its header declares 2 pages of 4096 bytes (8192 bytes): the "
     "file is damaged or was cut off"},
    {"larger than 64 MiB",
     [](const std::string& f) {
         shippedCutTo(8192)(f);
         std::filesystem::resize_file(f, 65 << 20); // sparse: no time, no disk
     },
     false, Kind::tooMuchWork,
     ": it is 65 MiB long, far larger than any strength-class table; the program reads at most "
     "64 MiB"},
    {"cut in the header", shippedCutTo(50), false, Kind::notADatabase,
     ": the file is not an SQLite 3 database"},
    {"no Sheet1", table("CREATE TABLE Sheet2 (x)"), false, Kind::tableMissing,
     ": it has no table \"Sheet1\""},
    {"Sheet1 a view", table("CREATE TABLE t (x); CREATE VIEW Sheet1 AS SELECT * FROM t"), false,
     Kind::tableMissing, ": \"Sheet1\" must be a table, but it is a \"view\""},
    {"Class elsewhere", table(R"(CREATE TABLE Sheet1 ("ID", "fm,k", "Class", "fc,0,k",
                                 "fc,90,k", "fv,k", "E0,mean", "rmean"))"),
     false, Kind::fieldMissing,
     ": field \"Class\" must be field 2 of table \"Sheet1\", but it is field 3"},
    {"names differ in case", table(R"(CREATE TABLE Sheet1 ("ID", "CLASS", "FM,K", "fc,0,k",
                                      "fc,90,k", "fv,k", "E0,mean", "rmean"))"),
     false, Kind::fieldMissing,
     ": table \"Sheet1\" has no fields \"Class\", \"fm,k\", which the window shows (field names "
     "must match exactly, commas included)"},
    // Only the material window shows "Ek": the main window works without it.
    {"no Ek, main window", table(R"(CREATE TABLE Sheet1 ("ID", "Class", "fm,k", "fc,0,k",
                                    "fc,90,k", "fv,k", "E0,mean", "rmean");
                                    INSERT INTO Sheet1 ("Class") VALUES ('C16'))"),
     false, std::nullopt, ""},
    {"no Ek, material window",
     table(R"(CREATE TABLE Sheet1 ("ID", "Class", "fm,k", "ft,0,k", "ft,90,k", "fc,0,k",
              "fc,90,k", "fv,k", "E0,mean", "E90,mean", "Gmean", "rmean", "rk"))"),
     true, Kind::fieldMissing, ": table \"Sheet1\" has no field \"Ek\", which the window shows"},
    {"binary value",
     sheetAnd(classRows({"C14"}) + insertRow("'C16'",
                                             "16, 10, 0.5, 17, 2.2, 1.8, 8, x'00ff', 0.27, "
                                             "0.5, 370, 310")),
     true, Kind::readFailed,
     ": field \"Ek\" of row 2 (class \"C16\") holds binary data, not a number or a text"},
    {"value too long", sheetAnd(insertRow("printf('%.*c', 2000000, 'x')", c16Values)), false,
     Kind::tooMuchWork,
     ": it holds a value longer than 1 MiB, far beyond any strength-class entry"},
    {"too much text",
     sheetAnd("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
              "WHERE i < 20) INSERT INTO Sheet1 (\"Class\", \"fm,k\") SELECT 'C16', "
              "printf('%.*c', 900000, 'x') FROM n"),
     false, Kind::tooMuchWork,
     ": its fields hold more than 16 MiB of text, far more than any strength-class table"},
    // Characters, not bytes, are counted: 255 two-byte letters are a name.
    {"class name too long",
     sheetAnd(insertRow("replace(printf('%.*c', 255, 'x'), 'x', '\u00E9')", c16Values) +
              insertRow("printf('%.*c', 256, 'x')", c16Values)),
     false, Kind::longClassName,
     ": field \"Class\" of row 2 (class \"" + std::string(80, 'x') +
         "...\") is 256 characters long; a class name may have at most 255"},
    // Resolving the views of a large schema took seconds before the first row.
    {"1,000 views", sheetAnd(testing::views(1000)), false, Kind::tooMuchWork,
     ": it holds more than 1000 tables, views, indexes and triggers, where a strength-class "
     "database needs one table"},
    {"generated field",
     table("CREATE TABLE Sheet1 (\"ID\", \"Class\", \"fm,k\" AS (length(printf('%.*c', 1000000, "
           "'x'))), \"fc,0,k\", \"fc,90,k\", \"fv,k\", \"E0,mean\", \"rmean\"); INSERT INTO "
           "Sheet1 (\"Class\") VALUES ('C16')"),
     false, Kind::generatedField,
     ": field \"fm,k\" is computed by an expression stored in the file (a generated column)"},
    // A free field is never read, whatever it would cost.
    {"generated free field",
     table("CREATE TABLE Sheet1 (\"Key\" AS (length(printf('%.*c', 1000000, 'x'))), " +
           shownFields + "); " + classRows({"C16", "C24"})),
     true, std::nullopt, ""},
    {"too many rows", sheetAnd(tooManyRows), false, Kind::tooManyRows,
     ": table \"Sheet1\" has more than 32766 rows, but the strength-class list holds at most "
     "32766"},
};

void PrintTo(const HostileFile& hostile, std::ostream* out)
{
    *out << hostile.name;
}

class HostileDatabaseFile : public ::testing::TestWithParam<HostileFile>
{};

TEST_P(HostileDatabaseFile, IsRefusedWithItsPathAndCauseOrRead)
{
    const HostileFile& hostile = GetParam();
    TemporaryDirectory directory;
    const std::string file = directory.file("ZU5ZO.mdb");
    hostile.make(file);

    StrengthClassConnection connection;
    std::string shown = "never shown";
    const auto bindTo = [&](std::string_view field) {
        connection.bind(std::string(field), [&shown](const std::string& text) { shown = text; });
    };
    bindTo(classFieldName);
    if (hostile.allFields)
        std::for_each(propertyFieldNames.begin(), propertyFieldNames.end(), bindTo);
    else
        std::for_each(testing::designFieldNames.begin(), testing::designFieldNames.end(), bindTo);
    connection.setPath(file);
    sqlite3_memory_highwater(1);
    try {
        connection.open();
        EXPECT_FALSE(hostile.kind) << "opened";
        EXPECT_TRUE(connection.recordCount() > 0);
        EXPECT_EQ(connection.fingerprint().size(), 64u);
        EXPECT_FALSE(isShippedTable(connection.fingerprint()));
    } catch (const DatabaseError& error) {
        EXPECT_EQ(std::optional(error.kind()), hostile.kind) << error.what();
        EXPECT_NE(hostile.message, "");
        const std::string message = error.what();
        EXPECT_NE(message.find("database " + file), std::string::npos) << message;
        EXPECT_NE(message.find(hostile.message), std::string::npos)
            << message << "\n  lacks: " << hostile.message;
        EXPECT_FALSE(connection.isOpen());
        EXPECT_EQ(shown, "");
    }
    // SQLite's own count of the memory it held at most.
    EXPECT_LE(sqlite3_memory_highwater(0), 64 << 20);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileDatabaseFile, ::testing::ValuesIn(hostileFiles),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

// A process swaps the table's name between the table and a named pipe while
// it is read again and again: no read may wait for a writer of the pipe.
TEST(DatabaseFileSwappedForAPipe, NeverBlocksAReader)
{
    using namespace std::chrono_literals;
    TemporaryDirectory directory;
    const std::string file = directory.file("ZU5ZO.mdb");
    const std::string table = directory.file("table"), pipe = directory.file("pipe");
    const std::string next = directory.file("next");
    testing::writeFile(table, testing::readFile(JOIST_SHIPPED_DATABASE));
    fifo(pipe);
    ASSERT_EQ(::link(table.c_str(), file.c_str()), 0);
    auto reads = std::async(std::launch::async, [&file] {
        for (int i = 0; i < 500; ++i) {
            StrengthClassConnection connection;
            connection.setPath(file);
            try {
                connection.open();
            } catch (const DatabaseError& error) {
                EXPECT_NE(std::string(error.what())
                              .find(": it is a named pipe (FIFO), not a "
                                    "regular file"),
                          std::string::npos)
                    << error.what();
            }
        }
    });
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    bool blocked = false;
    for (bool toPipe = true; reads.wait_for(0s) != std::future_status::ready; toPipe = !toPipe) {
        ASSERT_EQ(::link((toPipe ? pipe : table).c_str(), next.c_str()), 0);
        std::filesystem::rename(next, file);
        if (std::chrono::steady_clock::now() > deadline) {
            blocked = true;
            // Open as writer, to let the read go on.
            const int writer = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0)
                ::close(writer);
        }
    }
    EXPECT_FALSE(blocked) << "a read waited for a writer of the pipe";
}

} // namespace
} // namespace materials
