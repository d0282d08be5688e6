#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "engine/extra_load.h"

namespace joist {
namespace {

constexpr RecordBounds fourMetres{4};

TEST(RecordKind, ReadsEachKindOfLoadFromTheColumnsThatApplyToIt)
{
    ASSERT_TRUE(isWellFormed(extraLoadKind)); // where the build could not assert it
    for (std::size_t k = 0; k < extra_load::kindTexts.size(); ++k) {
        RecordTexts texts{{"kind", extra_load::kindTexts[k]}};
        for (const RecordColumn<ExtraLoad>& column : extra_load::columns)
            if (column.number && (column.appliesTo >> k & 1))
                texts.emplace_back(column.key, column.key == "from" ? "0.5" : "2.5");
        const RecordRead<ExtraLoad> read = readRecord(extraLoadKind, 1, texts, fourMetres);
        ASSERT_TRUE(read.record) << read.problem;
        EXPECT_EQ(read.record->kind, static_cast<LoadKind>(k));
    }
}

TEST(RecordKind, NamesWhatItRefusesByTheRecordsNumberAndKey)
{
    const struct
    {
        RecordTexts texts;
        std::string problem;
    } cases[] = {
        {{{"kind", "point"}, {"gk", "1"}, {"qk", "0"}, {"at", "7"}},
         R"(load 2 "at" holds "7", past the span)"},
        {{{"kind", "point"}, {"gk", "1"}, {"qk", "0"}, {"at", "-1"}},
         R"(load 2 "at" holds "-1", which is not a number from 0 to the span)"},
        {{{"kind", "beam"}, {"gk", "1"}, {"qk", "0"}, {"at", "1"}},
         R"(load 2 "kind" holds "beam", which is not one of "point", "wall", "line", "area")"},
        {{{"kind", "wall"}, {"gk", "1001"}, {"qk", "0"}, {"at", "1"}},
         R"(load 2 "gk" holds "1001", which is not a number from 0 to 1000 kN/m)"},
        {{{"kind", "point"}, {"gk", "1,5"}, {"qk", "0"}, {"at", "1"}},
         R"(load 2 "gk" holds "1,5", which is not a number written with "." as decimal separator)"},
        {{{"kind", "area"}, {"gk", "0"}, {"qk", "0"}, {"from", "0"}, {"to", "1"}},
         R"(load 2 has "gk" and "qk" both 0)"},
        {{{"kind", "line"}, {"gk", "1"}, {"qk", "1"}, {"from", "2"}, {"to", "2"}},
         R"(load 2 "from" holds "2", which is not less than "to" ("2"))"},
        {{{"kind", "line"}, {"gk", "1"}, {"qk", "1"}, {"at", "1"}, {"from", "0"}, {"to", "1"}},
         R"(load 2 "at" does not apply to its kind "line")"},
        {{{"kind", "point"}, {"gk", "1"}, {"qk", "1"}}, R"(load 2 has no "at")"},
        {{{"kind", "point"}, {"gk", "1"}, {"gk", "2"}}, R"(load 2 has "gk" twice)"},
        {{{"kind", "point"}, {"Gk", "1"}},
         R"(load 2 has a key "Gk", which is not one of "kind", "gk", "qk", "at", "from", "to")"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readRecord(extraLoadKind, 2, c.texts, fourMetres).problem, c.problem);
}

TEST(RecordKind, RefusesAListLongerThanItsKindAllows)
{
    const RecordTexts load{{"kind", "point"}, {"gk", "1"}, {"qk", "0"}, {"at", "1"}};
    std::vector<RecordTexts> list(extraLoadKind.mostRecords, load);
    EXPECT_EQ(readRecords(extraLoadKind, list, fourMetres).records.size(), list.size());
    list.push_back(load);
    EXPECT_EQ(readRecords(extraLoadKind, list, fourMetres).problem,
              "21 loads, more than the 20 a design may hold");
}

} // namespace
} // namespace joist
