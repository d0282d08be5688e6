#include "ui/schedule.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <span>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/design_aid_memo.h"
#include "engine/design_aids.h"
#include "ui/csv.h"
#include "ui/input_table.h"

namespace ui {
namespace {

using joist::ResultLabel;
constexpr std::string_view separator = cSeparator;

std::string longestSpanMillimetres(const joist::LongestSpan& span)
{
    switch (span.kind) {
    case joist::LongestSpan::Kind::millimetres:
        return std::to_string(span.millimetres);
    case joist::LongestSpan::Kind::beyondRange:
        return "> " + std::to_string(joist::longestSpanSearched);
    case joist::LongestSpan::Kind::none:
        break;
    }
    return "none";
}

constexpr std::size_t inputCount = joist::inputDefinitions.size();

// How a schedule's rows are read, made once from its header.
struct ScheduleLayout
{
    std::size_t fields = 0;
    // Each keyed input's column; the start value where there is none.
    std::array<std::optional<std::size_t>, inputCount> inputColumns;
    std::array<float, inputCount> startValues{};
    std::optional<std::size_t> classColumn;
    std::vector<std::pair<std::size_t, std::string>> basisColumns; // column, key
    bool vibrationColumns = false; // only a row with one can check vibration
};

ScheduleLayout scheduleLayout(const std::vector<std::string>& header, std::string& ignored)
{
    ScheduleLayout layout;
    layout.fields = header.size();
    const DesignInputs start = startInputs();
    for (const InputRow& row : inputRows()) {
        if (!row.key.empty())
            layout.startValues[std::size_t(row.input)] =
                inputValue(row.input, start.texts[std::size_t(row.input)]);
    }
    const FileSection& basisSection = designFileSections()[1];
    std::vector<std::string_view> read;
    for (std::size_t column = 0; column < header.size(); ++column) {
        const std::string& name = header[column];
        if (name == "id")
            continue;
        if (std::find(read.begin(), read.end(), name) != read.end())
            throw ValueRefused("the column \"" + name + "\" stands twice in the header");
        const auto input = std::find_if(inputRows().begin(), inputRows().end(),
                                        [&](const InputRow& row) { return row.key == name; });
        if (input != inputRows().end() && !input->key.empty())
            layout.inputColumns[std::size_t(input->input)] = column;
        else if (name == strengthClassKey)
            layout.classColumn = column;
        else if (std::any_of(basisSection.keys.begin(), basisSection.keys.end(),
                             [&](const FileSection::Key& key) { return key.name == name; }))
            layout.basisColumns.emplace_back(column, name);
        else {
            ignored += (ignored.empty() ? "\"" : ", \"") + name + "\"";
            continue;
        }
        read.push_back(name);
    }
    layout.vibrationColumns =
        std::any_of(layout.basisColumns.begin(), layout.basisColumns.end(),
                    [](const auto& column) { return column.second == "vibration"; });
    return layout;
}

// What one thread keeps from row to row.
struct RowMemory
{
    explicit RowMemory(ClassTable& table) : table(table) {}

    // The table's row of a class, asked of the table (and its lock) once a name.
    const ClassTable::Row* classRow(std::string_view name)
    {
        if (const auto known = classes.find(name); known != classes.end())
            return known->second;
        return classes.emplace(name, table.find(name)).first->second;
    }

    // The lightest section's text: a listed one's, or none's, written once.
    std::string_view lightestText(const std::optional<joist::Section>& section)
    {
        if (!section)
            return sectionTexts.back();
        const std::span<const joist::Section> listed = listedSections();
        const auto at = std::find(listed.begin(), listed.end(), *section);
        if (at != listed.end())
            return sectionTexts[std::size_t(at - listed.begin())];
        unlisted = joist::lightestSectionText(section, separator);
        return unlisted;
    }

    ClassTable& table;
    std::unordered_map<std::string, const ClassTable::Row*, NameHash, std::equal_to<>> classes;
    std::vector<std::string> sectionTexts = [] { // by listed section, then none
        std::vector<std::string> texts;
        for (const joist::Section& section : listedSections())
            texts.push_back(joist::lightestSectionText(section, separator));
        texts.push_back(joist::lightestSectionText(std::nullopt, separator));
        return texts;
    }();
    std::string unlisted;      // the text of a section not listed, for the row at hand
    SectionValues basisValues; // a row only assigns its texts
    joist::DesignAidMemo aids{listedSections()};
};

// Checks one row as a design file holding its columns would be checked.
void checkRow(const CsvRecord& record, const ScheduleLayout& layout, RowMemory& memory,
              DesignRun& run)
{
    std::array<float, inputCount> values = layout.startValues;
    for (const InputRow& input : inputRows()) {
        const auto i = std::size_t(input.input);
        if (layout.inputColumns[i])
            values[i] = inputValue(input.input, record.fields[*layout.inputColumns[i]]);
    }
    const std::string_view className =
        checkedClassName(layout.classColumn ? std::string_view(record.fields[*layout.classColumn])
                                            : startStrengthClass);
    joist::DesignBasis basis;
    if (!layout.basisColumns.empty()) {
        for (const auto& [column, key] : layout.basisColumns)
            memory.basisValues[key] = record.fields[column];
        basis = basisFromValues(memory.basisValues);
    }
    const ClassTable::Row* row =
        usableRow(memory.classRow(className), className, memory.table, run);
    if (!row)
        return;
    joist::JoistDesign design = row->values;
    design.basis = basis;
    for (const InputRow& input : inputRows()) {
        if (!input.key.empty())
            design.*joist::definitionOf(input.input).member = values[std::size_t(input.input)];
    }
    checkDesign(
        design, [&memory](const joist::JoistDesign& checked) { return memory.aids.aids(checked); },
        run);
}

// One part of a schedule's text, read and checked on one thread.
struct ScheduleRows
{
    std::size_t begin = 0, end = 0; // the records that start in [begin, end)
    std::size_t next = 0;           // where the record after them starts
    std::string output;
    bool anyBad = false;
    bool anyFails = false;
    std::exception_ptr error; // what stopped the run, for the caller to throw
};

// A schedule shorter than this stays on one thread.
constexpr std::size_t bytesPerThread = std::size_t(1) << 14;
constexpr std::size_t maxThreads = 64;
// Records are read this many bytes at a time, then checked: their memory is
// reused from block to block.
constexpr std::size_t bytesPerBlock = std::size_t(1) << 16;

// Runs work(0) ... work(count - 1), each on a thread of its own but the first
// on this one, and waits for them all.
template <class Work> void inParallel(std::size_t count, Work&& work)
{
    std::vector<std::jthread> workers;
    for (std::size_t i = 1; i < count; ++i) {
        try {
            workers.emplace_back(work, i);
        } catch (const std::system_error&) { // no thread to be had: this one does it
            work(i);
        }
    }
    work(0);
}

// Checks one record and writes it with its results appended.
void checkRecord(const CsvRecord& record, const ScheduleLayout& layout, RowMemory& memory,
                 std::vector<std::string_view>& out, ScheduleRows& part)
{
    out.assign(record.fields.begin(), record.fields.end());
    out.resize(layout.fields);
    std::string message = record.problem;
    if (message.empty() && record.fields.size() != layout.fields)
        message = "the row has " + std::to_string(record.fields.size()) +
                  " fields and the header " + std::to_string(layout.fields);
    DesignRun design;
    if (message.empty()) {
        try {
            checkRow(record, layout, memory, design);
            message = design.message;
        } catch (const ValueRefused& refused) {
            message = refused.what();
        }
    }
    for (const ResultLabel label : outputOrder) {
        if (label != ResultLabel::governedBy &&
            (layout.vibrationColumns || !isVibrationLabel(label)))
            out.push_back(design.texts[static_cast<std::size_t>(label)]);
    }
    const bool bad = design.outcome == DesignRun::Outcome::bad;
    const std::string longest =
        bad ? std::string() : longestSpanMillimetres(design.aids.longestSpan);
    const std::string_view lightest =
        bad ? std::string_view() : memory.lightestText(design.aids.lightestSection);
    out.insert(out.end(),
               {design.texts[std::size_t(ResultLabel::governedBy)], longest, lightest, message});
    appendCsvRecord(part.output, out);
    part.anyBad |= bad;
    part.anyFails |= design.outcome == DesignRun::Outcome::fails;
}

// Reads the part's records a block at a time and checks each.
void checkPart(std::string_view csv, const ScheduleLayout& layout, ClassTable& table,
               ScheduleRows& part) noexcept
try {
    RowMemory memory(table);
    std::vector<std::string_view> out; // a row's fields and results, as views
    part.next = part.begin;
    while (part.next < part.end) {
        const CsvRecords block =
            parseCsvRecords(csv, part.next, std::min(part.end, part.next + bytesPerBlock));
        for (const CsvRecord& record : block.records)
            checkRecord(record, layout, memory, out, part);
        part.next = block.next;
    }
} catch (...) {
    part.error = std::current_exception();
}

// Shares the records from `begin` on out among the parts, in runs of about
// equal length, each starting where a line starts.
void divide(std::string_view csv, std::size_t begin, std::vector<ScheduleRows>& parts)
{
    const std::size_t count = parts.size();
    parts[0].begin = begin;
    for (std::size_t t = 1; t < count; ++t)
        parts[t].begin = std::max(nextLineStart(csv, begin + (csv.size() - begin) * t / count),
                                  parts[t - 1].begin);
    for (std::size_t t = 0; t < count; ++t)
        parts[t].end = t + 1 < count ? parts[t + 1].begin : csv.size();
}

} // namespace

ScheduleRun runSchedule(std::string_view csv, ClassTable& table)
{
    csv = withoutByteOrderMark(csv);
    const CsvRecords head = parseCsvRecords(csv, 0, 1);
    if (head.records.empty())
        throw ValueRefused("the schedule has no header row");
    const CsvRecord& header = head.records.front();
    if (!header.problem.empty())
        throw ValueRefused("the header row is not sound CSV: " + header.problem);

    ScheduleRun run;
    std::string ignored;
    const ScheduleLayout layout = scheduleLayout(header.fields, ignored);
    if (!ignored.empty())
        run.warnings = "timber-joist: ignored the columns " + ignored + "\n";

    std::vector<std::string> out = header.fields; // the header row written
    for (const ResultLabel label : outputOrder) {
        if (layout.vibrationColumns || !isVibrationLabel(label))
            out.emplace_back(resultKeys[static_cast<std::size_t>(label)]);
    }
    out.insert(out.end(), {"longestSpan", "lightestSection", "message"});

    // The rows, read and checked in contiguous parts among the processor's
    // cores: rows are checked independently, and the parts are joined in
    // order.
    const std::size_t threads =
        std::clamp<std::size_t>(std::min<std::size_t>(std::thread::hardware_concurrency(),
                                                      (csv.size() - head.next) / bytesPerThread),
                                1, maxThreads);
    std::vector<ScheduleRows> parts(threads);
    divide(csv, head.next, parts);
    appendCsvRecord(parts[0].output, out); // the first part's output becomes the whole
    inParallel(threads, [&](std::size_t t) { checkPart(csv, layout, table, parts[t]); });
    // A part starts where a line starts, which is where a record starts
    // unless a quoted field holds a line break across it: the part before
    // then reads on past it. Rarely so; the whole is then read again as one.
    for (std::size_t t = 0; t + 1 < parts.size(); ++t) {
        if (!parts[t].error && parts[t].next != parts[t + 1].begin) {
            parts.assign(1, {});
            parts[0].begin = head.next;
            parts[0].end = csv.size();
            appendCsvRecord(parts[0].output, out);
            checkPart(csv, layout, table, parts[0]);
            break;
        }
    }
    bool anyBad = false, anyFails = false;
    for (ScheduleRows& part : parts) {
        if (part.error)
            std::rethrow_exception(part.error);
        if (run.output.empty())
            run.output = std::move(part.output);
        else
            run.output += part.output;
        anyBad |= part.anyBad;
        anyFails |= part.anyFails;
    }
    run.exitCode = anyBad ? 2 : anyFails ? 1 : 0;
    return run;
}

} // namespace ui
