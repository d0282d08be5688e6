#include "ui/command_line.h"

#include <algorithm>
#include <cstdio>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include "materials/strength_class_sequences.h"
#include "ui/error_message.h"
#include "ui/regular_file.h"

namespace ui {
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

} // namespace

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
