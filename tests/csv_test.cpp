// Comma-separated values as schedules are read and written.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "document/csv.h"

namespace {

TEST(Csv, ReadsRfc4180AndSaysWhereARecordBreaksIt)
{
    struct Case
    {
        const char* text;
        std::vector<std::vector<std::string>> records;
        std::vector<std::string> problems;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF"
         "a,b\r\n\r\n1,\"x, \"\"y\"\"\r\nz\"\n",
         {{"a", "b"}, {"1", "x, \"y\"\r\nz"}},
         {"", ""}},
        {"a,\nb", {{"a", ""}, {"b"}}, {"", ""}},
        {"a\"b,c\n\"open", {{"a\"b", "c"}, {"open"}}, {"a quote", "a quoted field"}},
        {"\"x\"y,z", {{"xy", "z"}}, {"text follows"}},
    };
    for (const Case& c : cases) {
        const std::vector<document::CsvRecord> records = document::parseCsv(c.text);
        ASSERT_EQ(records.size(), c.records.size()) << c.text;
        for (std::size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(records[i].fields, c.records[i]) << c.text;
            EXPECT_TRUE(records[i].problem.starts_with(c.problems[i])) << records[i].problem;
            std::string written;
            document::appendCsvRecord(written, records[i].fields);
            EXPECT_EQ(document::parseCsv(written).front().fields, records[i].fields);
        }
    }
}

} // namespace
