#include "ui/command_line.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include "engine/number_text.h"
#include "engine/stop_reason.h"
#include "materials/strength_class_sequences.h"
#include "ui/csv.h"
#include "ui/error_message.h"
#include "ui/input_table.h"
#include "ui/regular_file.h"

namespace ui {
namespace {

using joist::ResultLabel;

// The C locale's decimal separator.
constexpr std::string_view separator = ".";

// Each result label's key in CSV and JSON output, by joist::ResultLabel.
constexpr std::array<std::string_view, 11> resultKeys{
    "bending", "shear", "bearing", "u2", "u2Fin", "uNetFin", "overall", "verdict", "f1", "w", "v",
};

// The labels in output order: the vibration ratios follow the six ratios,
// and are left out when the basis does not check vibration.
constexpr std::array<ResultLabel, 11> outputOrder{
    ResultLabel::bending, ResultLabel::shear,      ResultLabel::bearing,    ResultLabel::u2,
    ResultLabel::u2Fin,   ResultLabel::uNetFin,    ResultLabel::f1,         ResultLabel::w,
    ResultLabel::v,       ResultLabel::unityRatio, ResultLabel::governedBy,
};

bool isVibrationLabel(ResultLabel label)
{
    return label >= ResultLabel::f1;
}

constexpr qint64 largestScheduleBytes = qint64(1) << 30;

// The caption beside a result label in the window.
std::string_view captionOf(std::size_t label)
{
    for (const joist::CheckDefinition& check : joist::checkDefinitions) {
        if (static_cast<std::size_t>(check.label) == label)
            return check.caption;
    }
    return label == static_cast<std::size_t>(ResultLabel::unityRatio) ? "Overall" : "Result";
}

// The window's labels in the C locale.
class LabelTexts : public joist::ResultSink
{
public:
    explicit LabelTexts(std::array<std::string, 11>& texts) : texts_(texts) {}
    void setResultText(ResultLabel label, std::string_view text) override
    {
        texts_[static_cast<std::size_t>(label)] = text;
    }

private:
    std::array<std::string, 11>& texts_;
};

class DesignTexts : public joist::InputSource
{
public:
    explicit DesignTexts(const DesignInputs& inputs) : inputs_(inputs) {}
    std::string text(joist::Input input) const override
    {
        return inputs_.texts[static_cast<std::size_t>(input)];
    }

private:
    const DesignInputs& inputs_;
};

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

void print(std::FILE* stream, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

void complain(std::string_view text)
{
    print(stderr, "timber-joist: " + std::string(text) + "\n");
}

int exitCodeOf(DesignRun::Outcome outcome)
{
    return outcome == DesignRun::Outcome::passes ? 0 : outcome == DesignRun::Outcome::fails ? 1 : 2;
}

int check(const QString& path, bool json, ClassTable& table)
{
    const DesignFile file = readDesignFile(path);
    for (const std::string& key : file.ignoredKeys)
        complain(QDir::toNativeSeparators(path).toStdString() + ": ignored \"" + key + "\"");
    const DesignRun run = runDesign(file.inputs, file.basis, table);
    if (run.outcome == DesignRun::Outcome::bad) {
        complain(QDir::toNativeSeparators(path).toStdString() + ": " + run.message);
        return 2;
    }
    const std::string longest = joist::longestSpanText(run.aids.longestSpan, separator);
    const std::string lightest = joist::lightestSectionText(run.aids.lightestSection, separator);
    std::string out;
    if (json) {
        QJsonObject object;
        for (const ResultLabel label : outputOrder) {
            const std::size_t i = static_cast<std::size_t>(label);
            if (file.basis.vibration || !isVibrationLabel(label))
                object.insert(
                    QString::fromLatin1(resultKeys[i].data(), qsizetype(resultKeys[i].size())),
                    QString::fromUtf8(run.texts[i]));
        }
        object.insert(QStringLiteral("passes"), run.outcome == DesignRun::Outcome::passes);
        object.insert(QStringLiteral("longestSpan"), QString::fromUtf8(longest));
        object.insert(QStringLiteral("lightestSection"), QString::fromUtf8(lightest));
        object.insert(QStringLiteral("file"), path);
        out = QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString();
    } else {
        for (const ResultLabel label : outputOrder) {
            const std::size_t i = static_cast<std::size_t>(label);
            if (file.basis.vibration || !isVibrationLabel(label))
                out += std::string(captionOf(i)) + ": " + run.texts[i] + "\n";
        }
        out += longestSpanLine(run.aids, separator) + "\n";
        out += lightestSectionLine(run.aids, separator) + "\n";
    }
    print(stdout, out);
    return exitCodeOf(run.outcome);
}

int schedule(const QString& path, const QString& outputPath, ClassTable& table)
{
    QByteArray bytes;
    try {
        bytes = readRegularFile(path, largestScheduleBytes, "1 GiB");
    } catch (const FileRefused& refused) {
        throw ValueRefused("Cannot read the schedule \"" +
                           QDir::toNativeSeparators(path).toStdString() + "\": " + refused.what() +
                           ".");
    }
    ScheduleRun run;
    try {
        run = runSchedule(std::string_view(bytes.constData(), std::size_t(bytes.size())), table);
    } catch (const ValueRefused& refused) {
        throw ValueRefused(QDir::toNativeSeparators(path).toStdString() + ": " + refused.what());
    }
    print(stderr, run.warnings);
    if (outputPath.isEmpty()) {
        print(stdout, run.output);
        return run.exitCode;
    }
    QSaveFile file(outputPath);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(run.output.data(), qint64(run.output.size())) != qint64(run.output.size()) ||
        !file.commit())
        throw ValueRefused("Cannot write \"" + QDir::toNativeSeparators(outputPath).toStdString() +
                           "\": " + file.errorString().toStdString() + ".");
    return run.exitCode;
}

// Which section and key a schedule column holds: no section for one this
// program does not read.
struct Column
{
    const FileSection* section = nullptr;
    const std::string* key = nullptr;
};

// One run of a schedule's rows, checked on one thread.
struct ScheduleRows
{
    std::string output;
    bool anyBad = false;
    bool anyFails = false;
    std::exception_ptr error; // what stopped the run, for the caller to throw
};

constexpr std::size_t rowsPerThread = 256;
constexpr std::size_t maxThreads = 64;

// Checks records [first, last) and writes each with its results appended.
void checkRows(const std::vector<CsvRecord>& records, const std::vector<Column>& columns,
               bool vibrationColumns, std::size_t first, std::size_t last, ClassTable& table,
               ScheduleRows& part) noexcept
try {
    const CsvRecord& header = records.front();
    const FileSection& inputs = designFileSections()[0];
    // Each read column's value in its section's keys, made once: a row only
    // assigns its texts.
    SectionValues inputValues, basisValues;
    std::vector<std::string*> columnValues(columns.size(), nullptr);
    for (std::size_t column = 0; column < columns.size(); ++column) {
        if (columns[column].key)
            columnValues[column] =
                &(columns[column].section == &inputs ? inputValues
                                                     : basisValues)[*columns[column].key];
    }

    // Each row's fields and results, as views of what the row and its check hold.
    std::vector<std::string_view> out;
    for (std::size_t r = first; r < last; ++r) {
        const CsvRecord& record = records[r];
        out.assign(record.fields.begin(), record.fields.end());
        out.resize(header.fields.size());
        std::string message = record.problem;
        if (message.empty() && record.fields.size() != header.fields.size())
            message = "the row has " + std::to_string(record.fields.size()) +
                      " fields and the header " + std::to_string(header.fields.size());
        DesignRun design;
        if (message.empty()) {
            for (std::size_t column = 0; column < columns.size(); ++column) {
                if (columnValues[column])
                    *columnValues[column] = record.fields[column];
            }
            try {
                design =
                    runDesign(inputsFromValues(inputValues), basisFromValues(basisValues), table);
                message = design.message;
            } catch (const ValueRefused& refused) {
                message = refused.what();
            }
        }
        for (const ResultLabel label : outputOrder) {
            if (label != ResultLabel::governedBy && (vibrationColumns || !isVibrationLabel(label)))
                out.push_back(design.texts[static_cast<std::size_t>(label)]);
        }
        const bool bad = design.outcome == DesignRun::Outcome::bad;
        const std::string longest =
            bad ? std::string() : longestSpanMillimetres(design.aids.longestSpan);
        const std::string lightest =
            bad ? std::string()
                : joist::lightestSectionText(design.aids.lightestSection, separator);
        out.insert(out.end(), {design.texts[std::size_t(ResultLabel::governedBy)], longest,
                               lightest, message});
        appendCsvRecord(part.output, out);
        part.anyBad |= bad;
        part.anyFails |= design.outcome == DesignRun::Outcome::fails;
    }
} catch (...) {
    part.error = std::current_exception();
}

} // namespace

class ClassTable::Names : public materials::ClassList, public materials::ClassNameLabel
{
public:
    void clear() override { names.clear(); }
    void append(const std::string& text) override { names.push_back(text); }
    int selectedIndex() const override { return selected; }
    void setText(const std::string&) override {}

    std::vector<std::string> names;
    int selected = -1;
};

ClassTable::ClassTable(const std::string& path)
    : path_(path), connection_(std::string(separator)), names_(std::make_unique<Names>())
{
    for (const InputRow& row : inputRows()) {
        if (row.field.empty())
            continue;
        const auto i = static_cast<std::size_t>(row.input);
        connection_.bind(std::string(row.field),
                         [this, i](const std::string& text) { bound_[i] = text; });
    }
    materials::fillStrengthClassList(connection_, *names_, path);
    for (std::size_t i = 0; i < names_->names.size(); ++i)
        firstRow_.try_emplace(names_->names[i], static_cast<int>(i));
}

ClassTable::~ClassTable() = default;

const ClassTable::Row* ClassTable::find(const std::string& className)
{
    const std::lock_guard lock(mutex_);
    if (const auto known = rows_.find(className); known != rows_.end())
        return &known->second;
    const auto index = firstRow_.find(className);
    if (index == firstRow_.end())
        return nullptr;
    names_->selected = index->second;
    materials::selectStrengthClass(connection_, *names_, *names_);
    Row row;
    // The first field the design reads that is not a number, as the window says it.
    for (const joist::InputDefinition& definition : joist::inputDefinitions) {
        const InputRow& input = inputRow(definition.input);
        if (input.field.empty())
            continue;
        const std::optional<float> value =
            joist::parseNumber(bound_[std::size_t(definition.input)], separator);
        if (!value) {
            row.problem = materials::nonNumericFieldError(connection_, input.field).what();
            break;
        }
        row.values.*definition.member = *value;
    }
    return &rows_.emplace(className, std::move(row)).first->second;
}

DesignRun runDesign(const DesignInputs& inputs, const joist::DesignBasis& basis, ClassTable& table)
{
    DesignRun run;
    const ClassTable::Row* row = table.find(inputs.strengthClass);
    if (!row) {
        run.message = "the strength class \"" + inputs.strengthClass +
                      "\" is not in the strength-class table " + table.path();
        return run;
    }
    if (!row->problem.empty()) {
        run.message = row->problem;
        return run;
    }
    joist::JoistDesign design = row->values;
    design.basis = basis;
    const DesignTexts texts(inputs);
    for (const InputRow& input : inputRows()) {
        if (input.key.empty())
            continue;
        const joist::ReadResult read = joist::storeInput(design, texts, input.input, separator);
        if (!read.ok()) { // the inputs were checked, so this is not expected
            run.message = "\"" + read.failedText + "\" is not a number";
            return run;
        }
    }
    LabelTexts labels(run.texts);
    const joist::CheckOutcome outcome = joist::runDesignCheck(design, false, labels, separator);
    if (!outcome.completed()) {
        run.texts = {};
        run.message = joist::describeStop(joist::stopReason(outcome, design), inputCaption) + ".";
        return run;
    }
    if (basis.vibration) { // as the design basis window shows them
        for (const joist::CheckDefinition& check : joist::checkDefinitions) {
            if (joist::isVibrationCheck(check.check))
                run.texts[std::size_t(check.label)] =
                    joist::generalText(design.*check.ratio, separator);
        }
    }
    run.outcome = run.texts[std::size_t(ResultLabel::governedBy)] == joist::passText
                      ? DesignRun::Outcome::passes
                      : DesignRun::Outcome::fails;
    run.aids = computeDesignAids(design);
    return run;
}

ScheduleRun runSchedule(std::string_view csv, ClassTable& table)
{
    const std::vector<CsvRecord> records = parseCsv(csv);
    if (records.empty())
        throw ValueRefused("the schedule has no header row");
    const CsvRecord& header = records.front();
    if (!header.problem.empty())
        throw ValueRefused("the header row is not sound CSV: " + header.problem);

    // Which section and key each column holds: no section for one this
    // program does not read. A column may name a key of the inputs or of the
    // design basis.
    const std::span<const FileSection> sections = designFileSections();
    const FileSection& inputs = sections[0];
    const FileSection& basisKeys = sections[1];
    std::vector<Column> columns(header.fields.size());
    ScheduleRun run;
    std::string ignored;
    for (std::size_t column = 0; column < header.fields.size(); ++column) {
        const std::string& name = header.fields[column];
        if (name == "id")
            continue;
        for (const FileSection* section : {&inputs, &basisKeys}) {
            for (const FileSection::Key& key : section->keys) {
                if (key.name == name)
                    columns[column] = {section, &key.name};
            }
        }
        if (!columns[column].key) {
            ignored += (ignored.empty() ? "\"" : ", \"") + name + "\"";
        } else if (std::any_of(columns.begin(), columns.begin() + std::ptrdiff_t(column),
                               [&](const Column& c) { return c.key == columns[column].key; })) {
            throw ValueRefused("the column \"" + name + "\" stands twice in the header");
        }
    }
    if (!ignored.empty())
        run.warnings = "timber-joist: ignored the columns " + ignored + "\n";
    // Only a row with a vibration column can check vibration.
    const bool vibrationColumns = std::any_of(columns.begin(), columns.end(), [](const Column& c) {
        return c.key && *c.key == "vibration";
    });

    std::vector<std::string> out = header.fields;
    for (const ResultLabel label : outputOrder) {
        if (vibrationColumns || !isVibrationLabel(label))
            out.emplace_back(resultKeys[static_cast<std::size_t>(label)]);
    }
    out.insert(out.end(), {"longestSpan", "lightestSection", "message"});
    run.output.reserve(csv.size() * 2);
    appendCsvRecord(run.output, out);

    // The rows' output, shared out in contiguous runs among the processor's
    // cores: rows are checked independently, and the runs are joined in
    // order. Short schedules stay on one thread.
    const std::size_t rows = records.size() - 1;
    const std::size_t threads = std::clamp<std::size_t>(
        std::min<std::size_t>(std::thread::hardware_concurrency(), rows / rowsPerThread), 1,
        maxThreads);
    std::vector<ScheduleRows> parts(threads);
    {
        auto checkPart = [&](std::size_t t) {
            checkRows(records, columns, vibrationColumns, 1 + rows * t / threads,
                      1 + rows * (t + 1) / threads, table, parts[t]);
        };
        std::vector<std::jthread> workers;
        for (std::size_t t = 1; t < threads; ++t) {
            try {
                workers.emplace_back(checkPart, t);
            } catch (const std::system_error&) { // no thread to be had: this one does it
                checkPart(t);
            }
        }
        checkPart(0);
    }
    bool anyBad = false, anyFails = false;
    for (const ScheduleRows& part : parts) {
        if (part.error)
            std::rethrow_exception(part.error);
        run.output += part.output;
        anyBad |= part.anyBad;
        anyFails |= part.anyFails;
    }
    run.exitCode = anyBad ? 2 : anyFails ? 1 : 0;
    return run;
}

bool isCommandLineMode(int argc, char** argv)
{
    static constexpr const char* options[] = {
        "-h",      "-?",         "--help", "--help-all", "-v",         "--version",
        "--check", "--schedule", "--json", "--output",   "--database",
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--")
            break;
        const std::string_view name = argument.substr(0, argument.find('='));
        for (const char* option : options) {
            if (name == option)
                return true;
        }
    }
    return false;
}

int runCommandLine(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("timber-joist"));
    QCoreApplication::setApplicationVersion(QStringLiteral(JOIST_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks a simply supported timber floor joist to Eurocode 5.\n"
        "Without options it opens the window, with FILE.joist if given.\n"
        "Exit codes of --check and --schedule: 0 passes, 1 fails, 2 a check stopped or an "
        "input is bad."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption checkOption(
        QStringLiteral("check"), QStringLiteral("Check one design file and print the results."),
        QStringLiteral("FILE.joist"));
    const QCommandLineOption jsonOption(QStringLiteral("json"),
                                        QStringLiteral("With --check: print the results as JSON."));
    const QCommandLineOption scheduleOption(
        QStringLiteral("schedule"),
        QStringLiteral("Check every row of a CSV file of designs and write each row with its "
                       "results."),
        QStringLiteral("FILE.csv"));
    const QCommandLineOption outputOption(
        QStringLiteral("output"),
        QStringLiteral("With --schedule: write to this file instead of standard output."),
        QStringLiteral("OUT.csv"));
    const QCommandLineOption databaseOption(
        QStringLiteral("database"),
        QStringLiteral("Read the strength classes from this table file instead of the one "
                       "beside the program."),
        QStringLiteral("FILE"));
    parser.addOptions({checkOption, jsonOption, scheduleOption, outputOption, databaseOption});

    if (!parser.parse(QCoreApplication::arguments())) {
        QString problem = parser.errorText();
        if (problem.endsWith(QLatin1Char('.')))
            problem.chop(1);
        complain(problem.toStdString() + "; see timber-joist --help");
        return 2;
    }
    if (parser.isSet(help)) {
        print(stdout, parser.helpText().toStdString());
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, "timber-joist " JOIST_VERSION "\n");
        return 0;
    }
    const bool checking = parser.isSet(checkOption), scheduling = parser.isSet(scheduleOption);
    const char* usage = nullptr;
    if (checking == scheduling)
        usage = "give either --check FILE.joist or --schedule FILE.csv";
    else if (parser.isSet(jsonOption) && !checking)
        usage = "--json goes with --check";
    else if (parser.isSet(outputOption) && !scheduling)
        usage = "--output goes with --schedule";
    else if (!parser.positionalArguments().isEmpty())
        usage = "a design file to check goes after --check";
    if (usage) {
        complain(std::string(usage) + "; see timber-joist --help");
        return 2;
    }

    try {
        const std::string tablePath =
            parser.isSet(databaseOption)
                ? QDir::toNativeSeparators(parser.value(databaseOption)).toStdString()
                : materials::databasePath(materials::programDirectory());
        ClassTable table(tablePath); // read once, for every design
        return checking ? check(parser.value(checkOption), parser.isSet(jsonOption), table)
                        : schedule(parser.value(scheduleOption), parser.value(outputOption), table);
    } catch (const std::exception& error) {
        complain(errorMessage(error));
        return 2;
    }
}

} // namespace ui
