#include "cli/command_line.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>

#include "engine/design_basis.h"
#include "engine/number_text.h"
#include "io/checked_file.h"
#include "io/display_text.h"
#include "io/failure_words.h"
#include "io/regular_file.h"
#include "io/standard_output.h"
#include "materials/shipped_table.h"
#include "materials/strength_class_sequences.h"
#include "report/design_basis_texts.h"

namespace cli {
namespace {

using joist::ResultLabel;

constexpr std::string_view separator = cSeparator;

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

// Texts from a file may hold terminal controls: shown as the window shows them.
void complain(std::string_view text)
{
    io::writeStandardError("timber-joist: " +
                           io::displayText(QString::fromUtf8(text.data(), qsizetype(text.size())),
                                           io::DisplayUse::message)
                               .toStdString() +
                           "\n");
}

// A number written with "." read back, whatever the user's locale says.
double numberOf(const std::string& text)
{
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

int exitCodeOf(DesignRun::Outcome outcome)
{
    return outcome == DesignRun::Outcome::passes ? 0 : outcome == DesignRun::Outcome::fails ? 1 : 2;
}

// Every field of the basis in force under its key: numbers as JSON numbers,
// a cap not set as null, flags as booleans, choices as their file texts.
QJsonObject basisObject(const joist::DesignBasis& basis, bool tablePresumesKcr)
{
    const auto number = [](float value) {
        return QJsonValue(numberOf(joist::shortestText(value)));
    };
    QJsonObject object;
    for (const joist::BasisField& field : joist::basisFields) {
        if (!joist::inForce(field, basis, tablePresumesKcr))
            continue;
        QJsonValue value;
        if (field.number)
            value = number(basis.*field.number);
        else if (field.cap)
            value = basis.*field.cap ? number(*(basis.*field.cap)) : QJsonValue();
        else if (field.flag)
            value = basis.*field.flag;
        else
            value = QString::fromUtf8(field.choice->text(basis));
        object.insert(QString::fromLatin1(field.key.data(), qsizetype(field.key.size())), value);
    }
    return object;
}

int check(const QString& path, bool json, ClassTable& table)
{
    const document::DesignFile file = document::readDesignFile(path);
    for (const std::string& key : file.ignoredKeys)
        complain(QDir::toNativeSeparators(path).toStdString() + ": ignored \"" + key + "\"");
    const DesignRun run = runDesign(file.inputs, file.basis, table);
    if (run.outcome == DesignRun::Outcome::bad) {
        complain(QDir::toNativeSeparators(path).toStdString() + ": " + run.message);
        return 2;
    }
    const std::string lightest =
        run.aids.noAnswer ? std::string(report::noAnswerText)
                          : joist::lightestSectionText(run.aids.lightestSection, separator);
    std::string out;
    if (json) {
        // Numbers as JSON numbers, each key naming its unit where it has one.
        const auto key = [](std::string_view name) {
            return QString::fromLatin1(name.data(), qsizetype(name.size()));
        };
        QJsonObject object;
        for (const ResultLabel label : outputOrder) {
            const std::size_t i = static_cast<std::size_t>(label);
            if (!labelInForce(label, file.basis))
                continue;
            const QString text = QString::fromUtf8(run.texts[i]);
            object.insert(key(joist::resultKey(label)), label == ResultLabel::governedBy
                                                            ? QJsonValue(text)
                                                            : QJsonValue(text.toDouble()));
        }
        for (const QuantityKeys& quantity : quantityKeys) {
            const std::size_t i = std::size_t(quantity.check);
            if (file.basis.vibration) {
                object.insert(key(quantity.demand), numberOf(quantityText(run.demands[i])));
                object.insert(key(quantity.capacity), numberOf(quantityText(run.capacities[i])));
            }
        }
        object.insert(QStringLiteral("passes"), run.outcome == DesignRun::Outcome::passes);
        const std::string metres = longestSpanMetres(run.aids);
        object.insert(QStringLiteral("longestSpanM"),
                      metres.empty() ? QJsonValue() : QJsonValue(numberOf(metres)));
        object.insert(QStringLiteral("longestSpanNote"),
                      QString::fromStdString(longestSpanNote(run.aids)));
        if (!run.loadProblem.empty())
            object.insert(QStringLiteral("message"), QString::fromStdString(run.loadProblem));
        if (!run.note.empty())
            object.insert(QStringLiteral("note"), QString::fromStdString(run.note));
        object.insert(QStringLiteral("lightestSection"), QString::fromUtf8(lightest));
        object.insert(QStringLiteral("basis"), basisObject(file.basis, run.tablePresumesKcr));
        object.insert(QStringLiteral("file"), path);
        out = QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString();
    } else {
        for (const ResultLabel label : outputOrder) {
            const std::size_t i = static_cast<std::size_t>(label);
            if (labelInForce(label, file.basis))
                out += std::string(captionOf(i)) + ": " + run.texts[i] + "\n";
        }
        out += report::longestSpanLine(run.aids, separator) + "\n";
        out += report::lightestSectionLine(run.aids, separator) + "\n";
        if (const std::string basis =
                report::basisLine(file.basis, run.tablePresumesKcr, separator);
            !basis.empty())
            out += basis + "\n";
        // What the vibration ratios divide: "f1 quantities: f1,min = 8 Hz, f1 = 9.87 Hz".
        for (const QuantityKeys& quantity : quantityKeys) {
            const joist::CheckDefinition& check = joist::definitionOf(quantity.check);
            const std::size_t i = std::size_t(quantity.check);
            if (file.basis.vibration)
                out += std::string(check.caption) +
                       " quantities: " + std::string(check.demandSymbol) + " = " +
                       quantityText(run.demands[i]) + " " + std::string(check.unit) + ", " +
                       std::string(check.capacitySymbol) + " = " + quantityText(run.capacities[i]) +
                       " " + std::string(check.unit) + "\n";
        }
        if (!run.note.empty())
            out += "Note: " + run.note + "\n";
    }
    io::writeStandardOutput(out);
    // A verdict under a load that loads nothing is no answer to give a script.
    if (!run.loadProblem.empty()) {
        complain(QDir::toNativeSeparators(path).toStdString() + ": " + run.loadProblem);
        return 2;
    }
    return exitCodeOf(run.outcome);
}

// Standard output for "-" or no name.
bool isStandardOutput(const QString& outputPath)
{
    return outputPath.isEmpty() || outputPath == QLatin1String("-");
}

int schedule(const QString& path, const QString& outputPath, ClassTable& table)
{
    const std::string shownPath = QDir::toNativeSeparators(path).toStdString();
    std::optional<io::RegularFile> input;
    try {
        input.emplace(path);
    } catch (const io::FileRefused& refused) {
        throw document::ValueRefused("Cannot read the schedule \"" + shownPath +
                                     "\": " + refused.what() + ".");
    }
    // The output file is checked before any row is, and replaces the old one
    // only when it is whole.
    const std::string shownOutput = QDir::toNativeSeparators(outputPath).toStdString();
    std::optional<io::CheckedFile> output;
    try {
        if (!isStandardOutput(outputPath))
            output.emplace(outputPath);
    } catch (const io::WriteFailed& failed) {
        throw document::ValueRefused("Cannot write \"" + shownOutput + "\": " + failed.what() +
                                     ".");
    }
    const ScheduleStreams streams{
        [&](char* into, std::size_t room) { return input->read(into, room); },
        [&](std::string_view text) {
            if (output)
                output->write(text);
            else
                io::writeStandardOutput(text);
        },
        [](std::string_view text) { complain(text); },
    };
    try {
        const int exitCode = runSchedule(streams, table);
        if (output)
            output->commit();
        return exitCode;
    } catch (const io::FileRefused& refused) {
        throw document::ValueRefused("Cannot read the schedule \"" + shownPath +
                                     "\": " + refused.what() + ".");
    } catch (const io::WriteFailed& failed) {
        if (!output)
            throw;
        throw document::ValueRefused("Cannot write \"" + shownOutput + "\": " + failed.what() +
                                     ".");
    } catch (const document::ValueRefused& refused) {
        throw document::ValueRefused(shownPath + ": " + refused.what());
    }
}

} // namespace

bool isCommandLineMode(int argc, char** argv)
{
    // Qt's own options for the window; every other option is the command
    // line's, which refuses what it does not know without needing a display.
    static constexpr std::string_view windowOptions[] = {
        "-platform",
        "-platformpluginpath",
        "-platformtheme",
        "-plugin",
        "-qwindowgeometry",
        "-qwindowicon",
        "-qwindowtitle",
        "-reverse",
        "-session",
        "-display",
        "-geometry",
        "-style",
        "-stylesheet",
        "-widgetcount",
        "-sync",
    };
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--")
            break;
        if (!argument.starts_with('-') || argument == "-")
            continue;
        const std::string_view name = argument.substr(0, argument.find('='));
        if (std::find(std::begin(windowOptions), std::end(windowOptions), name) ==
            std::end(windowOptions))
            return true;
        if (name == argument && name != "-reverse" && name != "-sync")
            ++i; // its value
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
    // Qt's own help option would list --help-all, for options of Qt's that
    // the command line does not take.
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
        QStringLiteral("Displays help on commandline options."));
    parser.addOption(help);
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
    parser.addPositionalArgument(QStringLiteral("FILE.joist"),
                                 QStringLiteral("A design to open in the window."),
                                 QStringLiteral("[FILE.joist]"));

    if (!parser.parse(QCoreApplication::arguments())) {
        QString problem = parser.errorText();
        if (problem.endsWith(QLatin1Char('.')))
            problem.chop(1);
        complain(problem.toStdString() + "; see timber-joist --help");
        return 2;
    }
    const bool checking = parser.isSet(checkOption), scheduling = parser.isSet(scheduleOption);
    std::string usage;
    // A repeated option would quietly drop all but its last value.
    for (const QCommandLineOption* option :
         {&checkOption, &jsonOption, &scheduleOption, &outputOption, &databaseOption}) {
        const QString name = option->names().constFirst();
        if (parser.optionNames().count(name) > 1)
            usage = "give --" + name.toStdString() + " once";
        else if (!option->valueName().isEmpty() && parser.isSet(*option) &&
                 parser.value(*option).isEmpty())
            usage = "--" + name.toStdString() + " needs a file name";
    }
    if (usage.empty()) {
        if (checking == scheduling)
            usage = "give either --check FILE.joist or --schedule FILE.csv";
        else if (parser.isSet(jsonOption) && !checking)
            usage = "--json goes with --check";
        else if (parser.isSet(outputOption) && !scheduling)
            usage = "--output goes with --schedule";
        else if (!parser.positionalArguments().isEmpty())
            usage = "a design file to check goes after --check";
    }
    if (!usage.empty() && !parser.isSet(help) && !parser.isSet(version)) {
        complain(usage + "; see timber-joist --help");
        return 2;
    }

    try {
        if (parser.isSet(help)) {
            io::writeStandardOutput(parser.helpText().toStdString());
            return 0;
        }
        if (parser.isSet(version)) {
            io::writeStandardOutput("timber-joist " JOIST_VERSION "\n");
            return 0;
        }
        // Each design reads the table its basis chooses, a design checked
        // alone that one from the start; --database names the one table.
        std::optional<joist::TableChoice> choice;
        if (!parser.isSet(databaseOption))
            choice = checking ? document::readDesignFile(parser.value(checkOption)).basis.table
                              : joist::TableChoice::shipped;
        const std::string tablePath =
            choice ? materials::tablePath(materials::programDirectory(), *choice)
                   : QDir::toNativeSeparators(parser.value(databaseOption)).toStdString();
        ClassTable table(tablePath, choice); // read once, for every design
        return checking ? check(parser.value(checkOption), parser.isSet(jsonOption), table)
                        : schedule(parser.value(scheduleOption), parser.value(outputOption), table);
    } catch (const std::exception& error) {
        complain(io::errorMessage(error));
        return 2;
    }
}

} // namespace cli
