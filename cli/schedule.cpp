#include "cli/schedule.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <span>
#include <system_error>
#include <thread>
#include <vector>

#include "document/csv.h"
#include "engine/design_aid_memo.h"
#include "engine/design_aids.h"
#include "engine/design_inputs.h"

namespace cli {
namespace {

using joist::ResultLabel;
constexpr std::string_view separator = cSeparator;

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
    // The flags of the basis with a column, so that a row may set them: only
    // then are the results they put in force written.
    std::vector<bool joist::DesignBasis::*> flagColumns;
    std::optional<std::size_t> idColumn;
    // As spreadsheets write CSV where the comma is the decimal separator:
    // fields separated by ';', numbers read and written with ','.
    char separator = ',';
    bool decimalComma = false;
};

// A number's text as the program reads it: a decimal comma becomes a point.
std::string_view withDecimalPoint(std::string_view text, bool decimalComma, std::string& scratch)
{
    if (!decimalComma || text.find(',') == std::string_view::npos ||
        text.find('.') != std::string_view::npos)
        return text;
    scratch.assign(text);
    std::replace(scratch.begin(), scratch.end(), ',', '.');
    return scratch;
}

// A result's text as the schedule writes it.
void withDecimalComma(std::string& text, bool decimalComma)
{
    if (decimalComma)
        std::replace(text.begin(), text.end(), '.', ',');
}

bool hasColumn(const ScheduleLayout& layout, bool joist::DesignBasis::*flag)
{
    return std::find(layout.flagColumns.begin(), layout.flagColumns.end(), flag) !=
           layout.flagColumns.end();
}

// Whether the schedule has a column for a result: one whose check a flag of
// the basis puts in force has one only where a row may set that flag.
bool resultColumn(const ScheduleLayout& layout, ResultLabel label)
{
    bool joist::DesignBasis::*const flag = joist::flagOfLabel(label);
    return !flag || hasColumn(layout, flag);
}

// A header name as a key: blanks around it dropped, letters in any case.
std::string headerKey(std::string_view name)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!name.empty() && blank(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && blank(name.back()))
        name.remove_suffix(1);
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return key;
}

// The key a header name stands for, as the design file writes it, or empty.
std::string_view knownKey(const std::string& name)
{
    if (name == "id")
        return "id";
    for (const joist::InputFacts& row : joist::inputFacts()) {
        if (!row.key.empty() && headerKey(row.key) == name)
            return row.key;
    }
    if (headerKey(document::strengthClassKey) == name)
        return document::strengthClassKey;
    for (const document::FileSection::Key& key : document::designFileSections()[1].keys) {
        if (headerKey(key.name) == name)
            return key.name;
    }
    return {};
}

ScheduleLayout scheduleLayout(const std::vector<std::string>& header, std::string& ignored)
{
    ScheduleLayout layout;
    layout.fields = header.size();
    const document::DesignInputs start = document::startInputs();
    for (const joist::InputFacts& row : joist::inputFacts()) {
        if (!row.key.empty())
            layout.startValues[std::size_t(row.input)] =
                document::inputValue(row.input, start.texts[std::size_t(row.input)]);
    }
    std::vector<std::string_view> read;
    for (std::size_t column = 0; column < header.size(); ++column) {
        const std::string_view key = knownKey(headerKey(header[column]));
        if (key.empty()) {
            ignored += (ignored.empty() ? "\"" : ", \"") + header[column] + "\"";
            continue;
        }
        if (std::find(read.begin(), read.end(), key) != read.end())
            throw document::ValueRefused("the column \"" + std::string(key) +
                                         "\" stands twice in the header");
        read.push_back(key);
        const auto input =
            std::find_if(joist::inputFacts().begin(), joist::inputFacts().end(),
                         [&](const joist::InputFacts& row) { return row.key == key; });
        if (key == "id") {
            layout.idColumn = column;
            continue;
        }
        if (input != joist::inputFacts().end())
            layout.inputColumns[std::size_t(input->input)] = column;
        else if (key == document::strengthClassKey)
            layout.classColumn = column;
        else
            layout.basisColumns.emplace_back(column, std::string(key));
    }
    for (const auto& [column, key] : layout.basisColumns) {
        for (const joist::BasisField& field : joist::basisFields)
            if (field.flag && field.key == key)
                layout.flagColumns.push_back(field.flag);
    }
    layout.vibrationColumns = hasColumn(layout, &joist::DesignBasis::vibration);
    return layout;
}

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
        unlisted = joist::lightestSectionText(section, separator);
        return unlisted;
    }

    ClassTable& table;
    std::array<std::unordered_map<std::string, const ClassTable::Row*, NameHash, std::equal_to<>>,
               joist::tableTexts.size()>
        classes;                                 // by table chosen
    std::vector<std::string> sectionTexts = [] { // by listed section, then none
        std::vector<std::string> texts;
        for (const joist::Section& section : report::listedSections())
            texts.push_back(joist::lightestSectionText(section, separator));
        texts.push_back(joist::lightestSectionText(std::nullopt, separator));
        return texts;
    }();
    std::vector<std::string> escaped;    // the row's fields made safe, where they had to be
    std::string unlisted;                // the text of a section not listed, for the row at hand
    std::string scratch;                 // a number's text with a decimal point
    document::SectionValues basisValues; // a row only assigns its texts
    // One memo for each choice of sizes: each searches its own sections.
    joist::DesignAidMemo aids{report::listedSections(joist::Sizes::listed)};
    joist::DesignAidMemo extendedAids{report::listedSections(joist::Sizes::extended)};
};

// Checks one row as a design file holding its columns would be checked.
void checkRow(const document::CsvRecord& record, const ScheduleLayout& layout, RowMemory& memory,
              DesignRun& run)
{
    // The basis first: its table's material decides what the lists offer.
    joist::DesignBasis basis;
    if (!layout.basisColumns.empty()) {
        for (const auto& [column, key] : layout.basisColumns)
            memory.basisValues[key] =
                withDecimalPoint(record.fields[column], layout.decimalComma, memory.scratch);
        basis = document::basisFromValues(memory.basisValues);
    }
    std::array<float, inputCount> values = layout.startValues;
    for (const joist::InputFacts& input : joist::inputFacts()) {
        const auto i = std::size_t(input.input);
        if (layout.inputColumns[i])
            values[i] =
                document::inputValue(input.input,
                                     withDecimalPoint(record.fields[*layout.inputColumns[i]],
                                                      layout.decimalComma, memory.scratch),
                                     basis);
    }
    const std::string_view className = document::checkedClassName(
        layout.classColumn ? std::string_view(record.fields[*layout.classColumn])
                           : document::startStrengthClass);
    run.basisTable = basis.table;
    const ClassTable::Row* row =
        usableRow(memory.classRow(className, basis.table), className, memory.table, run);
    if (!row)
        return;
    joist::JoistDesign design = row->values;
    design.basis = basis;
    // The class's material decides gamma M where the row gives none, and
    // whether the one it gives is offered.
    constexpr auto materialInput = std::size_t(joist::materialInput);
    if (const auto& column = layout.inputColumns[materialInput])
        document::inputValue(
            joist::materialInput,
            withDecimalPoint(record.fields[*column], layout.decimalComma, memory.scratch), basis,
            design.material);
    else
        values[materialInput] =
            document::inputValue(joist::materialInput, joist::materialStartValue(design.material),
                                 basis, design.material);
    for (const joist::InputFacts& input : joist::inputFacts()) {
        if (!input.key.empty())
            design.*joist::definitionOf(input.input).member = values[std::size_t(input.input)];
    }
    checkDesign(
        design,
        [&memory](const joist::JoistDesign& checked) {
            return (checked.basis.sizes == joist::Sizes::extended ? memory.extendedAids
                                                                  : memory.aids)
                .aids(checked);
        },
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
    std::size_t records = 0;
    std::size_t passed = 0, failedCount = 0, badCount = 0;
    // The first rows that failed or were not checked: index in the part, and id.
    std::vector<std::pair<std::size_t, std::string>> failed, bad;
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

// Why a row whose fields do not match the header is not checked; fields
// beyond the header are named, so that nothing read is lost.
std::string fieldCountProblem(const document::CsvRecord& record, std::size_t headerFields)
{
    std::string problem = "the row has " + std::to_string(record.fields.size()) +
                          " fields and the header " + std::to_string(headerFields);
    for (std::size_t i = headerFields; i < record.fields.size(); ++i)
        problem +=
            (i == headerFields ? "; beyond the header: \"" : ", \"") + record.fields[i] + "\"";
    return problem;
}

// Rows named in the summary, of each kind.
constexpr std::size_t notableRows = 5;

// Checks one record and writes it with its results appended.
void checkRecord(const document::CsvRecord& record, const ScheduleLayout& layout, RowMemory& memory,
                 std::vector<std::string_view>& out, ScheduleRows& part)
{
    out.assign(record.fields.begin(), record.fields.end());
    out.resize(layout.fields);
    memory.escaped.resize(layout.fields);
    for (std::size_t i = 0; i < layout.fields; ++i)
        out[i] = spreadsheetSafe(out[i], memory.escaped[i]);
    std::string message = record.problem;
    if (message.empty() && record.fields.size() != layout.fields)
        message = fieldCountProblem(record, layout.fields);
    DesignRun design;
    if (message.empty()) {
        try {
            checkRow(record, layout, memory, design);
            message = design.message;
        } catch (const document::ValueRefused& refused) {
            message = refused.what();
        }
    }
    const bool bad = design.outcome == DesignRun::Outcome::bad;
    for (const ResultLabel label : outputOrder) {
        if (label != ResultLabel::governedBy)
            withDecimalComma(design.texts[std::size_t(label)], layout.decimalComma);
    }
    std::array<std::string, 2 * quantityKeys.size()> quantities;
    for (const ResultLabel label : outputOrder) {
        if (label == ResultLabel::unityRatio && layout.vibrationColumns) {
            const bool vibration = !bad && !design.texts[std::size_t(ResultLabel::f1)].empty();
            for (std::size_t q = 0; vibration && q < quantityKeys.size(); ++q) {
                const std::size_t check = std::size_t(quantityKeys[q].check);
                quantities[2 * q] = quantityText(design.demands[check]);
                quantities[2 * q + 1] = quantityText(design.capacities[check]);
            }
            for (std::string& quantity : quantities)
                withDecimalComma(quantity, layout.decimalComma);
            out.insert(out.end(), quantities.begin(), quantities.end());
        }
        if (label != ResultLabel::governedBy && resultColumn(layout, label))
            out.push_back(design.texts[static_cast<std::size_t>(label)]);
    }
    std::string longest = bad ? std::string() : longestSpanMetres(design.aids);
    withDecimalComma(longest, layout.decimalComma);
    const std::string note = bad ? std::string() : longestSpanNote(design.aids);
    const std::string_view lightest = bad ? std::string_view()
                                      : design.aids.noAnswer
                                          ? report::noAnswerText
                                          : memory.lightestText(design.aids.lightestSection);
    // Complete, but no design answer: said, and counted as not checked.
    const bool noAnswer = !design.loadProblem.empty();
    if (noAnswer && message.empty())
        message = design.loadProblem;
    if (message.empty())
        message = design.note;
    std::string escapedMessage;
    out.insert(out.end(), {design.texts[std::size_t(ResultLabel::governedBy)], longest, note,
                           lightest, spreadsheetSafe(message, escapedMessage)});
    document::appendCsvRecord(part.output, out, layout.separator);

    // For the summary: the first few rows that did not pass, by id where they have one.
    const bool unchecked = bad || noAnswer;
    const bool fails = !unchecked && design.outcome == DesignRun::Outcome::fails;
    auto& notable = unchecked ? part.bad : part.failed;
    (unchecked ? part.badCount : fails ? part.failedCount : part.passed) += 1;
    if ((unchecked || fails) && notable.size() < notableRows)
        notable.emplace_back(part.records,
                             layout.idColumn && *layout.idColumn < record.fields.size()
                                 ? record.fields[*layout.idColumn]
                                 : std::string());
    ++part.records;
    part.anyBad |= unchecked;
    part.anyFails |= fails;
}

// Reads the part's records a block at a time and checks each.
void checkPart(std::string_view csv, const ScheduleLayout& layout, RowMemory& memory,
               ScheduleRows& part) noexcept
try {
    std::vector<std::string_view> out; // a row's fields and results, as views
    part.next = part.begin;
    while (part.next < part.end) {
        const document::CsvRecords block = document::parseCsvRecords(
            csv, part.next, std::min(part.end, part.next + bytesPerBlock), layout.separator);
        for (const document::CsvRecord& record : block.records)
            checkRecord(record, layout, memory, out, part);
        part.next = block.next;
    }
} catch (...) {
    part.error = std::current_exception();
}

// Shares the records that start in [begin, end) out among the parts, in runs
// of about equal length, each starting where a line starts.
void divide(std::string_view csv, std::size_t begin, std::size_t end,
            std::vector<ScheduleRows>& parts)
{
    const std::size_t count = parts.size();
    parts[0].begin = begin;
    for (std::size_t t = 1; t < count; ++t)
        parts[t].begin =
            std::min(std::max(document::nextLineStart(csv, begin + (end - begin) * t / count),
                              parts[t - 1].begin),
                     end);
    for (std::size_t t = 0; t < count; ++t)
        parts[t].end = t + 1 < count ? parts[t + 1].begin : end;
}

// The schedule's text not yet checked, read from its stream as needed.
class Unread
{
public:
    explicit Unread(const std::function<std::size_t(char*, std::size_t)>& read) : read_(read) {}

    // Reads until `bytes` are held or the stream ends.
    void fill(std::size_t bytes)
    {
        while (!atEnd_ && text_.size() < bytes) {
            const std::size_t held = text_.size();
            text_.resize(bytes);
            const std::size_t got = read_(text_.data() + held, bytes - held);
            text_.resize(held + got);
            atEnd_ = got == 0;
        }
    }
    void consume(std::size_t bytes) { text_.erase(0, bytes); }

    std::string_view text() const { return text_; }
    bool atEnd() const { return atEnd_; }

private:
    const std::function<std::size_t(char*, std::size_t)>& read_;
    std::string text_;
    bool atEnd_ = false;
};

// A round grows only while one row runs on past it, up to the largest.
constexpr std::size_t largestRound = std::size_t(1) << 26;
constexpr std::string_view largestRoundText = "64 MiB";
// Records are checked up to a line start this far before what is read ends,
// so that the last of them has normally ended before it.
constexpr std::size_t roundMargin = std::size_t(1) << 16;

// Grows the round when what is read ends inside a row; throws when a row
// would run on past the largest round.
void readMore(Unread& unread, std::size_t& round, const char* what)
{
    if (unread.text().size() >= largestRound)
        throw document::ValueRefused(std::string(what) + " runs on for more than " +
                                     std::string(largestRoundText) +
                                     " (is a quoted field not closed?)");
    round = std::min(unread.text().size() * 2, largestRound);
}

bool isPlainNumber(std::string_view field)
{
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < field.size() && field[i] >= '0' && field[i] <= '9')
            ++i;
        return i - from;
    };
    if (i < field.size() && (field[i] == '+' || field[i] == '-'))
        ++i;
    std::size_t whole = digits();
    if (i < field.size() && field[i] == '.') {
        ++i;
        whole += digits();
    }
    if (whole == 0)
        return false;
    if (i < field.size() && (field[i] == 'e' || field[i] == 'E')) {
        ++i;
        if (i < field.size() && (field[i] == '+' || field[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == field.size();
}

} // namespace

std::string_view spreadsheetSafe(std::string_view field, std::string& escaped)
{
    if (field.empty() ||
        std::string_view("=+-@\t\r").find(field.front()) == std::string_view::npos ||
        isPlainNumber(field))
        return field;
    escaped.assign(1, '\'');
    escaped += field;
    return escaped;
}

namespace {

// ';' when the first line holds one and no ',': what a spreadsheet writes
// as CSV where the comma is the decimal separator.
char separatorOf(std::string_view text)
{
    const std::string_view line = text.substr(0, text.find_first_of("\r\n"));
    return line.find(';') != std::string_view::npos && line.find(',') == std::string_view::npos
               ? ';'
               : ',';
}

// What the schedule came to, as one line: "12 rows: 9 passed, 2 failed
// (J4, J9), 1 not checked (row 7); see the message column".
class ScheduleSummary
{
public:
    void add(const ScheduleRows& part)
    {
        passed_ += part.passed;
        failed_ += part.failedCount;
        bad_ += part.badCount;
        name(part.failed, failedRows_);
        name(part.bad, badRows_);
        rows_ += part.records;
    }
    std::string line() const
    {
        std::string text = std::to_string(rows_) + (rows_ == 1 ? " row: " : " rows: ") +
                           std::to_string(passed_) + " passed, " + std::to_string(failed_) +
                           " failed" + listed(failedRows_, failed_) + ", " + std::to_string(bad_) +
                           " not checked" + listed(badRows_, bad_);
        return failed_ + bad_ > 0 ? text + "; see the message column" : text;
    }

private:
    // The first few rows of a kind, by id, or by number counted from the
    // first row after the header.
    void name(const std::vector<std::pair<std::size_t, std::string>>& notable,
              std::vector<std::string>& named) const
    {
        for (const auto& [index, id] : notable) {
            if (named.size() < notableRows)
                named.push_back(id.empty() ? "row " + std::to_string(rows_ + index + 1) : id);
        }
    }
    static std::string listed(const std::vector<std::string>& named, std::size_t total)
    {
        if (named.empty())
            return {};
        std::string text = " (";
        for (std::size_t i = 0; i < named.size(); ++i)
            text += (i ? ", " : "") + named[i];
        return text + (total > named.size() ? ", ...)" : ")");
    }

    std::size_t rows_ = 0, passed_ = 0, failed_ = 0, bad_ = 0;
    std::vector<std::string> failedRows_, badRows_;
};

} // namespace

int runSchedule(const ScheduleStreams& streams, ClassTable& table)
{
    Unread unread(streams.read);
    std::size_t round = streams.roundBytes;
    document::CsvRecords head;
    char separator = ',';
    for (bool first = true;; first = false) {
        unread.fill(round);
        if (first && document::withoutByteOrderMark(unread.text()).size() < unread.text().size())
            unread.consume(3);
        separator = separatorOf(unread.text());
        head = document::parseCsvRecords(unread.text(), 0, 1, separator);
        if (unread.atEnd() || head.next < unread.text().size())
            break;
        readMore(unread, round, "the header row");
    }
    if (head.records.empty())
        throw document::ValueRefused("the schedule has no header row");
    const document::CsvRecord& header = head.records.front();
    if (!header.problem.empty())
        throw document::ValueRefused("the header row is not sound CSV: " + header.problem);

    std::string ignored;
    ScheduleLayout layout = scheduleLayout(header.fields, ignored);
    layout.separator = separator;
    layout.decimalComma = separator == ';';
    if (layout.decimalComma)
        streams.warn("read the schedule as ';'-separated with decimal commas, and wrote it so");
    if (!ignored.empty())
        streams.warn("ignored the columns " + ignored);

    std::vector<std::string> out = header.fields; // the header row written
    for (std::string& field : out) {
        std::string escaped;
        if (spreadsheetSafe(field, escaped).data() == escaped.data())
            field = std::move(escaped);
    }
    for (const ResultLabel label : outputOrder) {
        if (label == ResultLabel::unityRatio && layout.vibrationColumns) {
            for (const QuantityKeys& quantity : quantityKeys)
                out.insert(out.end(),
                           {std::string(quantity.demand), std::string(quantity.capacity)});
        }
        if (resultColumn(layout, label))
            out.emplace_back(joist::resultKey(label));
    }
    out.insert(out.end(), {"longestSpan", "longestSpanNote", "lightestSection", "message"});
    std::string headerLine;
    document::appendCsvRecord(headerLine, out, separator);
    streams.write(headerLine);
    unread.consume(head.next);

    // Each round's rows, read and checked in contiguous parts among the
    // processor's cores: rows are checked independently, and the parts are
    // written in order. Each core keeps what it learnt from round to round.
    const std::size_t cores =
        std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, maxThreads);
    std::vector<std::unique_ptr<RowMemory>> memories(cores);
    for (std::unique_ptr<RowMemory>& memory : memories)
        memory = std::make_unique<RowMemory>(table);
    bool anyBad = false, anyFails = false;
    ScheduleSummary summary;
    round = streams.roundBytes;
    while (true) {
        unread.fill(round);
        const std::string_view csv = unread.text();
        if (csv.empty())
            break;
        const std::size_t cut =
            unread.atEnd()
                ? csv.size()
                : document::nextLineStart(
                      csv,
                      std::max<std::size_t>(1, csv.size() - std::min(roundMargin, csv.size() / 2)));
        const std::size_t threads =
            std::clamp<std::size_t>(std::min(cores, cut / bytesPerThread), 1, cores);
        std::vector<ScheduleRows> parts(threads);
        divide(csv, 0, cut, parts);
        inParallel(threads, [&](std::size_t t) { checkPart(csv, layout, *memories[t], parts[t]); });
        // A part starts where a line starts, which is where a record starts
        // unless a quoted field holds a line break across it: the part before
        // then reads on past it. Rarely so; the round is then read again as one.
        for (std::size_t t = 0; t + 1 < parts.size(); ++t) {
            if (!parts[t].error && parts[t].next != parts[t + 1].begin) {
                parts.assign(1, {});
                parts[0].end = cut;
                checkPart(csv, layout, *memories[0], parts[0]);
                break;
            }
        }
        for (ScheduleRows& part : parts) {
            if (part.error)
                std::rethrow_exception(part.error);
        }
        const std::size_t next = parts.back().next;
        std::size_t records = 0;
        for (const ScheduleRows& part : parts)
            records += part.records;
        // The last row may run on beyond what is read: read more and check
        // the round again.
        if (!unread.atEnd() && next >= csv.size() && records > 0) {
            readMore(unread, round, "a row");
            continue;
        }
        for (ScheduleRows& part : parts) {
            streams.write(part.output);
            summary.add(part);
            anyBad |= part.anyBad;
            anyFails |= part.anyFails;
        }
        unread.consume(next);
        round = streams.roundBytes;
    }
    streams.warn(summary.line());
    return anyBad ? 2 : anyFails ? 1 : 0;
}

ScheduleRun runSchedule(std::string_view csv, ClassTable& table, std::size_t roundBytes)
{
    ScheduleRun run;
    std::size_t at = 0;
    const ScheduleStreams streams{
        [&](char* into, std::size_t room) {
            const std::size_t n = std::min(room, csv.size() - at);
            std::copy_n(csv.data() + at, n, into);
            at += n;
            return n;
        },
        [&](std::string_view text) { run.output += text; },
        [&](std::string_view text) {
            run.warnings += text;
            run.warnings += '\n';
        },
        roundBytes,
    };
    run.exitCode = runSchedule(streams, table);
    return run;
}

} // namespace cli
