#include "cli/schedule_row.h"

#include "cli/schedule_dialect.h"
#include "engine/design_aids.h"

namespace cli {
namespace {

using joist::inputCount;
using joist::ResultLabel;
constexpr std::string_view separator = cSeparator;

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

} // namespace

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

std::vector<std::string_view> resultColumns(const ScheduleLayout& layout)
{
    std::vector<std::string_view> names;
    for (const ResultLabel label : outputOrder) {
        if (label == ResultLabel::unityRatio && layout.vibrationColumns) {
            for (const QuantityKeys& quantity : quantityKeys) {
                names.push_back(quantity.demand);
                names.push_back(quantity.capacity);
            }
        }
        if (resultColumn(layout, label))
            names.push_back(joist::resultKey(label));
    }
    for (const std::string_view name :
         {"longestSpan", "longestSpanNote", "lightestSection", "message"})
        names.push_back(name);
    return names;
}

RowOutcome checkRecord(const document::CsvRecord& record, const ScheduleLayout& layout,
                       RowMemory& memory, document::CsvWriter& out)
{
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

    if (bad || noAnswer)
        return RowOutcome::notChecked;
    return design.outcome == DesignRun::Outcome::fails ? RowOutcome::failed : RowOutcome::passed;
}

std::string rowId(const document::CsvRecord& record, const ScheduleLayout& layout)
{
    return layout.idColumn && *layout.idColumn < record.fields.size()
               ? shortened(record.fields[*layout.idColumn])
               : std::string();
}

} // namespace cli
