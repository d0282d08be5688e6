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

// A text longer than this is longer than a box takes, whatever its characters
// (a box counts three bytes of UTF-8 as one at most): it is no value, and is
// refused unread rather than copied.
constexpr std::size_t longestValueBytes = 3 * 32767;

// A number's text as the program reads it: a decimal comma becomes a point.
std::string_view withDecimalPoint(std::string_view text, bool decimalComma, std::string& scratch)
{
    if (!decimalComma || text.size() > longestValueBytes ||
        text.find(',') == std::string_view::npos || text.find('.') != std::string_view::npos)
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

// A header name as a key: blanks around it dropped, letters in any case. A
// name longer than any key is none, and is not copied.
std::string headerKey(std::string_view name)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!name.empty() && blank(name.front()))
        name.remove_prefix(1);
    while (!name.empty() && blank(name.back()))
        name.remove_suffix(1);
    constexpr std::size_t longestKey = 64;
    if (name.size() > longestKey)
        return {};
    std::string key(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    return key;
}

// A text from the file as a warning names it: a long one cut, at a
// character's start.
std::string shortened(std::string_view text)
{
    constexpr std::size_t longest = 40;
    if (text.size() <= longest)
        return std::string(text);
    std::size_t cut = longest;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return std::string(text.substr(0, cut)) + "\u2026";
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
            ignored += (ignored.empty() ? "\"" : ", \"") + shortened(header[column]) + "\"";
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

// Checks one row as a design file holding its columns would be checked.
void checkRow(const document::CsvRecord& record, const ScheduleLayout& layout, RowMemory& memory,
              DesignRun& run)
{
    // The basis first: its table's material decides what the lists offer.
    joist::DesignBasis basis;
    if (!layout.basisColumns.empty()) {
        for (const auto& [column, key] : layout.basisColumns) {
            if (record.fields[column].size() > longestValueBytes)
                throw document::ValueRefused("\"" + key +
                                             "\" holds a text longer than any value it takes");
            memory.basisValues[key] =
                withDecimalPoint(record.fields[column], layout.decimalComma, memory.scratch);
        }
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

// One part of a round, read and checked on one thread.
struct ScheduleRows
{
    std::size_t begin = 0, end = 0; // the records that start in [begin, end)
    std::size_t next = 0;           // where the record after those checked starts
    // The first part of a round writes as it goes; the others hold their
    // output for it, up to `held` bytes, and stop there.
    const document::CsvWriter::Write* write = nullptr;
    std::size_t held = 0;
    std::string output;
    bool full = false;   // stopped with its output full
    bool runsOn = false; // stopped at a record that runs on past what is read
    bool anyBad = false;
    bool anyFails = false;
    std::size_t records = 0;
    std::size_t passed = 0, failedCount = 0, badCount = 0;
    // The first rows that failed or were not checked: index in the part, and id.
    std::vector<std::pair<std::size_t, std::string>> failed, bad;
    std::exception_ptr error; // what stopped the run, for the caller to throw

    // Ready for another round, keeping the memory of its output.
    void reset()
    {
        std::string kept = std::move(output);
        kept.clear();
        *this = {};
        output = std::move(kept);
    }
};

// A schedule shorter than this stays on one thread.
constexpr std::size_t bytesPerThread = std::size_t(1) << 14;
constexpr std::size_t maxThreads = 64;
// A row longer than this gives its memory back once checked.
constexpr std::size_t longRowBytes = std::size_t(1) << 16;
// What the parts of a round may hold in all while they wait for those before
// them; rounds are read short enough that they hold about half of it.
constexpr std::size_t heldOutputBytes = std::size_t(1) << 23;

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

// Why a row whose fields do not match the header is not checked, in pieces:
// fields beyond the header are named, so that nothing read is lost, and a
// long one is not copied.
void fieldCountProblem(const document::CsvRecord& record, std::size_t headerFields,
                       RowMemory& memory)
{
    memory.messageHead = "the row has " + std::to_string(record.fields.size()) +
                         " fields and the header " + std::to_string(headerFields);
    memory.messagePieces.assign(1, memory.messageHead);
    for (std::size_t i = headerFields; i < record.fields.size(); ++i)
        memory.messagePieces.insert(
            memory.messagePieces.end(),
            {i == headerFields ? "; beyond the header: \"" : ", \"", record.fields[i], "\""});
}

// Rows named in the summary, of each kind.
constexpr std::size_t notableRows = 5;

// Checks one record and writes it with its results appended.
void checkRecord(const document::CsvRecord& record, const ScheduleLayout& layout, RowMemory& memory,
                 ScheduleRows& part)
{
    document::CsvWriter out(part.output, layout.separator, part.write);
    for (std::size_t i = 0; i < layout.fields; ++i) {
        const std::string_view field =
            i < record.fields.size() ? std::string_view(record.fields[i]) : std::string_view();
        out.field({spreadsheetMark(field, layout.decimalComma), field});
    }
    std::string message = record.problem;
    std::vector<std::string_view>& messagePieces = memory.messagePieces;
    messagePieces.clear();
    if (message.empty() && record.fields.size() != layout.fields)
        fieldCountProblem(record, layout.fields, memory);
    DesignRun design;
    if (message.empty() && messagePieces.empty()) {
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
    std::string quantity;
    for (const ResultLabel label : outputOrder) {
        if (label == ResultLabel::unityRatio && layout.vibrationColumns) {
            const bool vibration = !bad && !design.texts[std::size_t(ResultLabel::f1)].empty();
            for (const QuantityKeys& keys : quantityKeys) {
                const std::size_t check = std::size_t(keys.check);
                for (const auto* values : {&design.demands, &design.capacities}) {
                    quantity = vibration ? quantityText((*values)[check]) : std::string();
                    withDecimalComma(quantity, layout.decimalComma);
                    out.field(quantity);
                }
            }
        }
        if (label != ResultLabel::governedBy && resultColumn(layout, label))
            out.field(design.texts[static_cast<std::size_t>(label)]);
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
    if (noAnswer && message.empty() && messagePieces.empty())
        message = design.loadProblem;
    if (message.empty() && messagePieces.empty())
        message = design.note;
    if (messagePieces.empty())
        messagePieces.assign(1, message);
    // Its first words decide whether a spreadsheet would run the message.
    messagePieces.insert(messagePieces.begin(),
                         spreadsheetMark(messagePieces.front(), layout.decimalComma));
    for (const std::string_view field :
         {std::string_view(design.texts[std::size_t(ResultLabel::governedBy)]),
          std::string_view(longest), std::string_view(note), lightest})
        out.field(field);
    out.field(messagePieces);
    out.endRecord();

    // For the summary: the first few rows that did not pass, by id where they have one.
    const bool unchecked = bad || noAnswer;
    const bool fails = !unchecked && design.outcome == DesignRun::Outcome::fails;
    auto& notable = unchecked ? part.bad : part.failed;
    (unchecked ? part.badCount : fails ? part.failedCount : part.passed) += 1;
    if ((unchecked || fails) && notable.size() < notableRows)
        notable.emplace_back(part.records,
                             layout.idColumn && *layout.idColumn < record.fields.size()
                                 ? shortened(record.fields[*layout.idColumn])
                                 : std::string());
    ++part.records;
    part.anyBad |= unchecked;
    part.anyFails |= fails;
}

// Checks the part's records one by one, each read into the thread's own
// record. `whole` says that the text runs to the schedule's end.
void checkPart(std::string_view csv, bool whole, const ScheduleLayout& layout, RowMemory& memory,
               ScheduleRows& part) noexcept
try {
    part.next = document::skipLineEnds(csv, part.begin);
    while (part.next < part.end) {
        if (!part.write && part.output.size() >= part.held) {
            part.full = true;
            return;
        }
        const document::CsvRecordEnd end =
            document::parseCsvRecord(csv, part.next, &memory.record, layout.separator);
        if (!end.lineEnded && !whole) {
            part.runsOn = true;
            return;
        }
        checkRecord(memory.record, layout, memory, part);
        if (end.next - part.next > longRowBytes)
            memory.record = {};
        part.next = document::skipLineEnds(csv, end.next);
    }
} catch (...) {
    part.error = std::current_exception();
}

// Shares the records that start in [begin, end) out among the parts, in runs
// of about equal length, each starting where a line starts.
void divide(std::string_view csv, std::size_t begin, std::size_t end, std::span<ScheduleRows> parts)
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
    Unread(const std::function<std::size_t(char*, std::size_t)>& read, std::size_t roundBytes)
        : read_(read), roundBytes_(roundBytes)
    {}

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
    void consume(std::size_t bytes)
    {
        text_.erase(0, bytes);
        // What a round grown for a long row took is given back once it is checked.
        if (text_.capacity() > 4 * std::max(text_.size(), roundBytes_))
            text_.shrink_to_fit();
    }

    std::string_view text() const { return text_; }
    bool atEnd() const { return atEnd_; }

private:
    const std::function<std::size_t(char*, std::size_t)>& read_;
    std::size_t roundBytes_;
    std::string text_;
    bool atEnd_ = false;
};

// A round grows only while one row runs on past it, up to the largest.
constexpr std::size_t largestRound = std::size_t(1) << 26;
constexpr std::string_view largestRoundText = "64 MiB";
// Records are checked up to a line start this far before what is read ends,
// so that the last of them has normally ended before it.
constexpr std::size_t roundMargin = std::size_t(1) << 16;

// Whether the record at the start of what is unread has ended.
bool firstRecordRead(const Unread& unread, char separator)
{
    const std::string_view text = unread.text();
    return unread.atEnd() ||
           document::parseCsvRecord(text, document::skipLineEnds(text, 0), nullptr, separator)
               .lineEnded;
}

// Reads on for a record that runs on past what is read, by an eighth of what
// is held or a round, whichever is more: a round grown for a long row holds
// that row and little more. Throws when the row would run on past the
// largest round.
void readOn(Unread& unread, std::size_t roundBytes, const char* what)
{
    const std::size_t held = unread.text().size();
    if (held >= largestRound)
        throw document::ValueRefused(std::string(what) + " runs on for more than " +
                                     std::string(largestRoundText) +
                                     " (is a quoted field not closed?)");
    unread.fill(std::min(held + std::max(roundBytes, held / 8), largestRound));
}

// A number as the schedule's numbers are written: with a decimal point, or
// in a schedule with decimal commas, either.
bool isPlainNumber(std::string_view field, bool decimalComma)
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
    if (i < field.size() && (field[i] == '.' || (decimalComma && field[i] == ','))) {
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

std::string_view spreadsheetMark(std::string_view field, bool decimalComma)
{
    if (field.empty() ||
        std::string_view("=+-@\t\r").find(field.front()) == std::string_view::npos ||
        isPlainNumber(field, decimalComma))
        return {};
    return "'";
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
    Unread unread(streams.read, streams.roundBytes);
    unread.fill(streams.roundBytes);
    if (document::withoutByteOrderMark(unread.text()).size() < unread.text().size())
        unread.consume(3);
    char separator = ',';
    // The separator is the first line's, whole once the header has ended.
    while (!firstRecordRead(unread, separator = separatorOf(unread.text())))
        readOn(unread, streams.roundBytes, "the header row");
    const document::CsvRecords head = document::parseCsvRecords(unread.text(), 0, 1, separator);
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

    // The header row written, with the results' names.
    std::string headerLine;
    document::CsvWriter written(headerLine, separator, &streams.write);
    for (const std::string& field : header.fields)
        written.field({spreadsheetMark(field, layout.decimalComma), field});
    for (const ResultLabel label : outputOrder) {
        if (label == ResultLabel::unityRatio && layout.vibrationColumns) {
            for (const QuantityKeys& quantity : quantityKeys) {
                written.field(quantity.demand);
                written.field(quantity.capacity);
            }
        }
        if (resultColumn(layout, label))
            written.field(joist::resultKey(label));
    }
    for (const std::string_view name :
         {"longestSpan", "longestSpanNote", "lightestSection", "message"})
        written.field(name);
    written.endRecord();
    streams.write(headerLine);
    unread.consume(head.next);

    // Each round's rows, read and checked in contiguous parts among the
    // processor's cores: rows are checked independently, and the parts are
    // written in order, the first as it goes, the others once those before
    // them are. Each core keeps what it learnt from round to round.
    const std::size_t cores =
        std::clamp<std::size_t>(std::thread::hardware_concurrency(), 1, maxThreads);
    std::vector<std::unique_ptr<RowMemory>> memories(cores);
    for (std::unique_ptr<RowMemory>& memory : memories)
        memory = std::make_unique<RowMemory>(table);
    std::vector<ScheduleRows> parts(cores);
    bool anyBad = false, anyFails = false, longRow = false;
    ScheduleSummary summary;
    // Rows that write several times what they read are common (results, a
    // message): the first round assumes four times, the next the last's.
    const std::size_t shortestRound = std::min(bytesPerThread, streams.roundBytes);
    std::size_t round = std::min(heldOutputBytes / 8, streams.roundBytes);
    while (true) {
        std::size_t cut = 1, threads = 1;
        if (longRow) {
            // A row runs on past the round: the round grows to hold it, and
            // it alone is checked.
            while (!firstRecordRead(unread, separator))
                readOn(unread, streams.roundBytes, "a row");
        } else {
            unread.fill(round);
        }
        const std::string_view csv = unread.text();
        if (csv.empty())
            break;
        if (!longRow) {
            cut = unread.atEnd()
                      ? csv.size()
                      : document::nextLineStart(
                            csv, std::max<std::size_t>(
                                     1, csv.size() - std::min(roundMargin, csv.size() / 2)));
            threads = std::clamp<std::size_t>(std::min(cores, cut / bytesPerThread), 1, cores);
        }
        const std::span<ScheduleRows> roundParts(parts.data(), threads);
        for (ScheduleRows& part : roundParts) {
            part.reset();
            part.held = heldOutputBytes / threads;
        }
        divide(csv, 0, cut, roundParts);
        roundParts[0].write = &streams.write;
        inParallel(threads, [&](std::size_t t) {
            checkPart(csv, unread.atEnd(), layout, *memories[t], parts[t]);
        });
        // A part starts where a line starts, which is where a record starts
        // unless a quoted field holds a line break across it: the part before
        // then reads on past it. The parts are kept while each starts where
        // the one before ended; the next round starts where the last kept
        // one stopped.
        std::size_t kept = 1;
        while (kept < threads && !parts[kept - 1].error && !parts[kept - 1].full &&
               !parts[kept - 1].runsOn && parts[kept - 1].next == parts[kept].begin)
            ++kept;
        std::size_t heldInput = 0, heldOutput = 0;
        for (std::size_t t = 0; t < kept; ++t) {
            ScheduleRows& part = parts[t];
            if (part.error)
                std::rethrow_exception(part.error);
            streams.write(part.output);
            summary.add(part);
            anyBad |= part.anyBad;
            anyFails |= part.anyFails;
            if (t > 0) {
                heldInput += part.next - part.begin;
                heldOutput += part.output.size();
            }
        }
        unread.consume(parts[kept - 1].next);
        longRow = parts[kept - 1].runsOn;
        // What the parts held sets the next round's length.
        if (heldInput > 0)
            round =
                std::clamp(heldOutputBytes / 2 * heldInput / std::max<std::size_t>(heldOutput, 1),
                           shortestRound, streams.roundBytes);
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
