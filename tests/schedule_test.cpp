// Schedules checked in the program's own process: rows in order however the
// schedule is read, and cells written as read, safe in a spreadsheet.
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "cli/schedule.h"
#include "document/csv.h"

namespace cli {
namespace {

TEST(CommandLine, ALongScheduleComesOutInRowOrderAsEachRowAlone)
{
    // Long enough to be shared among threads, with a bad row in every few,
    // and rows that share all but span and section. In the second schedule
    // most line breaks stand inside quoted fields, where no part may start.
    const std::string header = "id,span,breadth,depth,strengthClass\r\n";
    ClassTable table(JOIST_SHIPPED_DATABASE);
    for (const std::string idEnd : {"", "\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n"}) {
        std::string rows;
        for (int i = 0; i < 2000; ++i)
            rows += "\"J" + std::to_string(i) + idEnd + "\"," + std::to_string(2 + i % 61 * 0.1) +
                    "," + (i % 7 == 3 ? "50" : "44") + "," + (i % 3 == 0 ? "175" : "225") +
                    (i % 5 == 0 ? ",C16" : ",C24") + "\r\n";
        const ScheduleRun whole = runSchedule(header + rows, table);
        // Read a little at a time, as a schedule of any length is.
        const ScheduleRun rounds = runSchedule(header + rows, table, 3000);
        EXPECT_EQ(rounds.output, whole.output);
        std::string alone;
        int worst = 0;
        for (const document::CsvRecord& row : document::parseCsv(rows)) {
            std::string line;
            document::appendCsvRecord(line, row.fields);
            const ScheduleRun one = runSchedule(header + line, table);
            alone += one.output.substr(one.output.find('\n') + 1);
            worst = std::max(worst, one.exitCode);
        }
        EXPECT_EQ(whole.output.substr(whole.output.find('\n') + 1), alone);
        EXPECT_EQ(whole.exitCode, worst);
    }
}

TEST(Schedule, ReadsHeaderNamesLooselyAndWritesNothingASpreadsheetWouldRun)
{
    ClassTable table(JOIST_SHIPPED_DATABASE);
    const ScheduleRun plain = runSchedule("id,span,breadth\n1,5.1,44\n", table);
    const ScheduleRun loose = runSchedule("ID, Span ,BREADTH\n1,5.1,44\n", table);
    EXPECT_EQ(loose.output.substr(loose.output.find('\n')),
              plain.output.substr(plain.output.find('\n')));
    EXPECT_EQ(loose.warnings, plain.warnings); // nothing ignored
    EXPECT_EQ(plain.warnings, "1 row: 1 passed, 0 failed, 0 not checked\n");

    // As spreadsheets write CSV where the comma is the decimal separator.
    std::string semicolons = runSchedule("id;span;deadLoad\nA;3,6;0,5\n", table).output;
    std::replace(semicolons.begin(), semicolons.end(), ',', '.');
    std::replace(semicolons.begin(), semicolons.end(), ';', ',');
    EXPECT_EQ(semicolons, runSchedule("id,span,deadLoad\nA,3.6,0.5\n", table).output);
    EXPECT_TRUE(runSchedule("id,span\nA,3.6\nB,9\nC,x\n", table)
                    .warnings.ends_with("3 rows: 1 passed, 1 failed (B), 1 not checked (C); see "
                                        "the message column\n"));

    const std::vector<document::CsvRecord> rows =
        document::parseCsv(runSchedule("id,span\n=1+2,3\n-1.5,3\n@x,3,a,b\n", table).output);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].fields[0], "'=1+2");
    EXPECT_EQ(rows[2].fields[0], "-1.5"); // a number stays one
    EXPECT_EQ(rows[3].fields[0], "'@x");
    // Fields beyond the header are named in the message, not dropped.
    EXPECT_NE(rows[3].fields.back().find("\"a\", \"b\""), std::string::npos);
}

TEST(Schedule, ACellOfAnyShapeIsWrittenAsReadAndReadAgainAlike)
{
    ClassTable table(JOIST_SHIPPED_DATABASE);
    std::string shortRows, note, formula = "=";
    for (int i = 0; i < 200; ++i)
        shortRows += "J" + std::to_string(i) + ",3.6\r\n";
    for (int i = 0; i < 2000; ++i) {
        note += "a \"note\", on a line\n"; // far longer than a round below
        formula += "1+";
    }
    std::string quotedNote = note;
    for (std::size_t at = 0; (at = quotedNote.find('"', at)) != std::string::npos; at += 2)
        quotedNote.insert(at, 1, '"');
    struct Case
    {
        std::string schedule;
        std::size_t row;
        std::string column, cell; // the cell as written
    };
    const Case cases[] = {
        {"id,span,note\r\n" + shortRows + "L,4,\"" + quotedNote + "\"\r\n" + shortRows, 201, "note",
         note},
        {"id,span\r\n" + shortRows + formula + ",4\r\n" + shortRows, 201, "id", "'" + formula},
        // A number in the schedule's own decimal convention is one.
        {"id;span;deadLoad\r\nA;3,6;-2,5\r\n", 1, "deadLoad", "-2,5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cell.substr(0, 20));
        const char separator = c.schedule.find(';') < c.schedule.find(',') ? ';' : ',';
        const auto records = [separator](const std::string& csv) {
            return document::parseCsvRecords(csv, 0, csv.size(), separator).records;
        };
        const ScheduleRun run = runSchedule(c.schedule, table);
        EXPECT_EQ(runSchedule(c.schedule, table, 3000).output, run.output); // in short rounds
        const std::vector<document::CsvRecord> written = records(run.output);
        ASSERT_GT(written.size(), c.row);
        const auto& names = written[0].fields;
        const auto column =
            std::size_t(std::find(names.begin(), names.end(), c.column) - names.begin());
        EXPECT_EQ(written[c.row].fields.at(column), c.cell);
        // The output, checked again, reads the row as it was read.
        EXPECT_EQ(records(runSchedule(run.output, table).output)[c.row].fields.back(),
                  written[c.row].fields.back());
    }
}

} // namespace
} // namespace cli
