#pragma once

// One row of a schedule checked: its fields read, as a design file holding
// its columns would be, into a design, and written with the columns of its
// results.

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "cli/design_run.h"
#include "document/csv.h"
#include "engine/design_aid_memo.h"
#include "engine/design_basis.h"
#include "engine/design_inputs.h"

namespace cli {

// How a schedule's rows are read, made once from its header.
struct ScheduleLayout
{
    std::size_t fields = 0;
    // Each keyed input's column; the start value where there is none.
    std::array<std::optional<std::size_t>, joist::inputCount> inputColumns;
    std::array<float, joist::inputCount> startValues{};
    std::optional<std::size_t> classColumn;
    std::vector<std::pair<std::size_t, std::string>> basisColumns; // column, key
    bool vibrationColumns = false; // only a row with one can check vibration
    // The flags of the basis with a column, so that a row may set them: only
    // then are the results they put in force written.
    std::vector<bool joist::DesignBasis::*> flagColumns;
    std::optional<std::size_t> idColumn;
    // As spreadsheets write CSV where the comma is the decimal separator:
    // fields separated by ';', numbers read and written with ','.
    char separator = ',';
    bool decimalComma = false;
};

// The layout of a schedule with this header. Names the columns it ignores
// in `ignored`; throws document::ValueRefused for a column named twice.
ScheduleLayout scheduleLayout(const std::vector<std::string>& header, std::string& ignored);

// The names of the columns written after the header's own, in order.
std::vector<std::string_view> resultColumns(const ScheduleLayout& layout);

// What one thread keeps from row to row.
struct RowMemory
{
    explicit RowMemory(ClassTable& table) : table(table) {}

    // The row of a class in the table chosen, asked of the table (and its
    // lock) once a name.
    const ClassTable::Row* classRow(std::string_view name, joist::TableChoice chosen)
    {
        auto& known = classes[std::size_t(chosen)];
        if (const auto found = known.find(name); found != known.end())
            return found->second;
        return known.emplace(name, table.find(name, chosen)).first->second;
    }

    // The lightest section's text: a listed one's, or none's, written once.
    std::string_view lightestText(const std::optional<joist::Section>& section)
    {
        if (!section)
            return sectionTexts.back();
        const std::span<const joist::Section> listed = report::listedSections();
        const auto at = std::find(listed.begin(), listed.end(), *section);
        if (at != listed.end())
            return sectionTexts[std::size_t(at - listed.begin())];
        unlisted = joist::lightestSectionText(section, cSeparator);
        return unlisted;
    }

    ClassTable& table;
    std::array<std::unordered_map<std::string, const ClassTable::Row*, NameHash, std::equal_to<>>,
               joist::tableTexts.size()>
        classes;                                 // by table chosen
    std::vector<std::string> sectionTexts = [] { // by listed section, then none
        std::vector<std::string> texts;
        for (const joist::Section& section : report::listedSections())
            texts.push_back(joist::lightestSectionText(section, cSeparator));
        texts.push_back(joist::lightestSectionText(std::nullopt, cSeparator));
        return texts;
    }();
    document::CsvRecord record; // the row at hand, its memory reused from row to row
    std::string unlisted;       // the text of a section not listed, for the row at hand
    std::string messageHead;    // a field-count problem's first words
    std::vector<std::string_view> messagePieces;
    std::string scratch;                 // a number's text with a decimal point
    document::SectionValues basisValues; // a row only assigns its texts
    // One memo for each choice of sizes: each searches its own sections.
    joist::DesignAidMemo aids{report::listedSections(joist::Sizes::listed)};
    joist::DesignAidMemo extendedAids{report::listedSections(joist::Sizes::extended)};
};

// What a row came to, for the summary.
enum class RowOutcome { passed, failed, notChecked };

// Checks one record and writes it with its results appended.
RowOutcome checkRecord(const document::CsvRecord& record, const ScheduleLayout& layout,
                       RowMemory& memory, document::CsvWriter& out);

// The row's id as the summary names it (a long one cut), or empty.
std::string rowId(const document::CsvRecord& record, const ScheduleLayout& layout);

} // namespace cli
