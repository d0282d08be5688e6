// The command line as a script meets it: the program run with no display,
// its exit codes, and output that says what the window says in the C locale.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "cli/command_line.h"
#include "document/csv.h"
#include "document/design_basis_settings.h"
#include "tests/main_window_fixtures.h"
#include "tests/materials_fixtures.h"
#include "ui/design_basis_window.h"
#include "ui/material_data_window.h"

namespace cli {
namespace {

using ui::testing::MainWindowDriver;

struct ProgramRun
{
    int code = -1;
    QString out, err;
};

// The built program's settings folder: its own, apart from the windows'
// of this process.
const QTemporaryDir& programConfigHome()
{
    static const QTemporaryDir folder;
    return folder;
}

// The built program with no display to fall back on.
ProgramRun runProgram(const QStringList& arguments, const QString& standardOutput = {})
{
    QProcess program;
    if (!standardOutput.isEmpty())
        program.setStandardOutputFile(standardOutput);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), programConfigHome().path());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(JOIST_PROGRAM), arguments);
    if (!program.waitForFinished(60000) || program.exitStatus() != QProcess::NormalExit)
        return {};
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}

QString writeDesign(const QTemporaryDir& dir, const char* name, const QByteArray& inputs,
                    const QByteArray& basis = {})
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("{\"format\": \"timber-joist design\", \"version\": 1, \"inputs\": {" + inputs +
               "}, \"designBasis\": {" + basis +
               "}, \"sheetDetails\": {\"project\": \"Mill Lane\"}}");
    return path;
}

TEST(CommandLine, CheckSaysWhatTheWindowShows)
{
    struct Case
    {
        const char* name;
        QByteArray inputs;
        int code;
        QByteArray basis = {};
    };
    const Case cases[] = {
        {"passes.joist", "\"span\": \"3.6\", \"strengthClass\": \"C24\"", 0},
        {"fails.joist", "\"span\": \"6.5\", \"breadth\": \"36\"", 1},
        {"stops.joist", "\"span\": \"0\"", 2},
        {"vibration.joist", "\"span\": \"3.6\", \"strengthClass\": \"C24\"", 0,
         "\"vibration\": true, \"u2Div\": \"360\""},
        {"vibration fails.joist", "\"span\": \"4.8\", \"breadth\": \"36\"", 1,
         "\"vibration\": true, \"floorWidth\": \"2\""},
        {"point load.joist", "\"span\": \"3.6\", \"strengthClass\": \"C24\"", 1,
         "\"pointLoad\": true"},
        {"kcr by table.joist", "\"span\": \"3.6\", \"strengthClass\": \"C24\"", 0,
         "\"table\": \"en338-2016\", \"kcr\": \"0.6\""},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeDesign(dir, c.name, c.inputs, c.basis);
        const ProgramRun text = runProgram({"--check", path});
        const ProgramRun json = runProgram({"--check", path, "--json"});
        EXPECT_EQ(text.code, c.code) << text.err.toStdString();
        EXPECT_EQ(json.code, c.code);
        EXPECT_TRUE(c.code == 2 || (text.err + json.err).isEmpty()) << text.err.toStdString();

        MainWindowDriver window; // C locale
        window.start();
        ASSERT_TRUE(window.window->openDesign(path));
        if (c.code == 2) {
            EXPECT_TRUE(text.out.isEmpty() && json.out.isEmpty());
            // "Results out of date: " and the reason, which the command line gives too.
            const QString why = window.label("messageLbl").section(": ", 1);
            EXPECT_TRUE(!why.isEmpty() && text.err.contains(why))
                << text.err.toStdString() << why.toStdString();
            continue;
        }
        // Where the basis changes results, one line names it as the verdict's
        // tooltip does.
        const QString tip = ui::testing::hoverToolTip(
            resultLabel(window.controls(), joist::ResultLabel::governedBy));
        const QString basisLine = tip.section('\n', 0, 0);
        const bool basisShown = basisLine.startsWith("Design basis: ");
        EXPECT_EQ(basisShown, c.basis.size() > 0);
        EXPECT_EQ(text.out.contains("\nDesign basis: "), basisShown);
        EXPECT_TRUE(!basisShown || text.out.contains('\n' + basisLine + '\n'));
        // One line per result label, the vibration ratios after the six
        // ratios as the design basis window shows them, then the design
        // aids, each "caption: text".
        QStringList values;
        for (const QString& line : text.out.split('\n', Qt::SkipEmptyParts)) {
            // Not what the vibration ratios divide, the basis nor a note.
            if (!line.contains(" quantities: ") && !line.startsWith("Design basis: ") &&
                !line.startsWith("Note: "))
                values << line.section(": ", 1);
        }
        QStringList expected;
        const bool vibration = window.window->design().basis.vibration;
        EXPECT_EQ(vibration, c.basis.contains("vibration"));
        for (const joist::ResultLabel label : joist::outputOrder) {
            if (joist::labelInForce(label, window.window->design().basis)) {
                const ui::ValueLabel* shown = resultLabel(window.controls(), label);
                expected << (shown ? shown->text() : QStringLiteral("(no place in the window)"));
            }
        }
        const QStringList ratios = {window.label("f1ResLbl"), window.label("wResLbl"),
                                    window.label("vResLbl")};
        EXPECT_EQ(values, expected + QStringList(window.window->designAidLines())
                                         .replaceInStrings(QRegularExpression("^.*: "), ""));
        const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
        EXPECT_EQ(object.contains("f1"), vibration);
        EXPECT_EQ(object.contains("pointBearing"), c.basis.contains("pointLoad"));
        if (vibration) {
            EXPECT_EQ(object["v"].toDouble(), ratios[2].toDouble());
            EXPECT_EQ(object["f1MinHz"].toDouble(), 8);
            EXPECT_TRUE(text.out.contains("f1 quantities: f1,min = 8 Hz"));
        }
        EXPECT_EQ(object["overall"].toDouble(), window.label("unityRatioLbl").toDouble());
        EXPECT_EQ(
            object["longestSpanM"].toDouble(),
            window.window->designAidLines().front().section(": ", 1).section(' ', 0, 0).toDouble());
        EXPECT_EQ(object["verdict"].toString(), window.label("governedByLbl"));
        EXPECT_EQ(object["passes"].toBool(), c.code == 0);
        // Every field of the basis in force, and no other.
        const joist::JoistDesign& design = window.window->design();
        for (const joist::BasisField& field : joist::basisFields)
            EXPECT_EQ(object["basis"].toObject().contains(QString::fromUtf8(field.key)),
                      joist::inForce(field, design.basis, design.tablePresumesKcr))
                << field.key;
    }
    // The command line keeps no settings, not even the files' details.
    EXPECT_TRUE(QDir(programConfigHome().path()).isEmpty());
}

TEST(CommandLine, ScheduleRunsEveryRowAndSaysWhichFailed)
{
    const QByteArray header = "id,span,breadth,strengthClass,note\r\n";
    const QByteArray passes = "\"J1, ground\",3.6,44,C24,\"said \"\"ok\"\"\"\r\n";
    const QByteArray fails = "J2,6.5,36,C16,\r\n";
    const QByteArray bad = "J3,4,50,C16,\r\n";
    // Design basis columns; a missing column takes the default.
    const QByteArray basisHeader = "id,span,breadth,strengthClass,note,vibration,u2Div\r\n";
    const QByteArray vibration = "\"J1, ground\",3.6,44,C24,\"said \"\"ok\"\"\",true,360\r\n";
    const QByteArray noVibration = "J2,6.5,36,C16,,false,300\r\n";
    const QByteArray badBasis = "J3,4,44,C16,,maybe,300\r\n";
    // The point load's ratios have columns only where a row may check it.
    const QByteArray pointHeader = "id,span,breadth,strengthClass,note,pointLoad\r\n";
    const QByteArray pointRows = "\"J1, ground\",3.6,44,C24,\"said \"\"ok\"\"\",false\r\n"
                                 "J2,3.6,44,C24,,true\r\n";
    struct Case
    {
        QByteArray header, rows;
        int code;
    };
    const Case cases[] = {{header, passes, 0},
                          {header, passes + fails, 1},
                          {header, passes + fails + bad, 2},
                          {basisHeader, vibration + noVibration + badBasis, 2},
                          {pointHeader, pointRows, 1}};
    QTemporaryDir dir;
    std::string u2AtL300;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows.toStdString());
        QFile in(dir.filePath("in.csv"));
        in.open(QIODevice::WriteOnly | QIODevice::Truncate);
        in.write(c.header + c.rows);
        in.close();
        const ProgramRun run =
            runProgram({"--schedule", in.fileName(), "--output", dir.filePath("out.csv")});
        EXPECT_EQ(run.code, c.code) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("\"note\"")); // the column it does not read
        QFile out(dir.filePath("out.csv"));
        ASSERT_TRUE(out.open(QIODevice::ReadOnly));
        const QByteArray written = out.readAll();
        const bool vibrationColumns = c.header == basisHeader;
        EXPECT_TRUE(written.startsWith(
            c.header.trimmed() + ",bending,shear,bearing,u2,u2Fin,uNetFin," +
            (vibrationColumns ? "f1,w,v,f1MinHz,f1Hz,wMmPerKN,aMmPerKN,"
                                "vMPerNs2,vLimitMPerNs2,"
                              : "") +
            (c.header == pointHeader ? "pointBending,pointShear,pointBearing," : "") +
            "overall,verdict,longestSpan,longestSpanNote,"
            "lightestSection,message\r\n"));
        const std::vector<document::CsvRecord> records = document::parseCsv(written.toStdString());
        ASSERT_EQ(records.size(), std::size_t(c.rows.count("\r\n") + 1));
        auto at = [&](std::size_t row, std::string_view column) {
            const auto& names = records[0].fields;
            return records[row]
                .fields[std::size_t(std::find(names.begin(), names.end(), column) - names.begin())];
        };
        EXPECT_EQ(at(1, "id"), "J1, ground");
        EXPECT_EQ(at(1, "note"), "said \"ok\"");
        EXPECT_EQ(at(1, "verdict"), "Joist Passes");
        EXPECT_EQ(at(1, "message"), "");
        if (c.header == header)
            u2AtL300 = at(1, "u2");
        if (records.size() > 2) {
            EXPECT_TRUE(at(2, "verdict").starts_with("Joist fails"));
        }
        if (records.size() > 3) {
            EXPECT_EQ(at(3, "verdict"), "");
            EXPECT_NE(at(3, "message").find(vibrationColumns ? "\"vibration\"" : "\"breadth\""),
                      std::string::npos);
        }
        if (vibrationColumns) {
            for (const char* ratio : {"f1", "w", "v"}) {
                EXPECT_FALSE(at(1, ratio).empty()) << ratio;
                EXPECT_EQ(at(2, ratio), "") << ratio; // that row does not check vibration
            }
            EXPECT_NE(at(1, "u2"), u2AtL300); // the same joist, with L/360 in force
        }
        if (c.header == pointHeader) {
            EXPECT_EQ(at(1, "pointBearing"), ""); // that row does not check it
            EXPECT_EQ(at(2, "verdict"), "Joist fails in point-load bearing");
        }
    }
}

TEST(CommandLine, ModesAndRefusals)
{
    QTemporaryDir dir;
    const QString design = writeDesign(dir, "d.joist", "");
    const QString negative = writeDesign(dir, "n.joist", "\"liveLoad\": \"-1.5\"");
    const QString schedule = dir.filePath("s.csv");
    QFile file(schedule);
    file.open(QIODevice::WriteOnly);
    file.write("id,sp\x1b[2Jan\n1,3\n");
    file.close();
    const QString pipe = dir.filePath("pipe.csv"), link = dir.filePath("link.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe), 0600), 0);
    ASSERT_TRUE(QFile::link(design, link));
    struct Case
    {
        QStringList arguments;
        int code;
        const char* says; // on stdout or stderr
        QString standardOutput = {};
    };
    const Case cases[] = {
        {{"--help"}, 0, "[options] [FILE.joist]"},
        {{"--help-all"}, 2, "help-all"}, // Qt's own options are not the command line's
        {{"--version"}, 0, "timber-joist "},
        {{"--check", dir.filePath("missing.joist")}, 2, "no such file"},
        {{"--check", design, "--database", dir.filePath("none.mdb")}, 2, "none.mdb"},
        {{"--check", design, "--schedule", design}, 2, "either"},
        {{"--json"}, 2, "--check"},
        {{"--check", design, "--output", "x.csv"}, 2, "--output"},
        {{"--check", design, "--colour"}, 2, "colour"},
        {{"--chek", design}, 2, "chek"},
        {{"--check", design, "--check", design}, 2, "--check once"},
        {{"--schedule", schedule, "--output", ""}, 2, "needs a file name"},
        {{"--schedule", schedule, "--output", "-"}, 0, "longestSpan"},
        {{"--schedule", schedule, "--output", pipe}, 2, "named pipe"},
        {{"--schedule", schedule, "--output", link}, 2, "link to"},
        {{"--schedule", schedule}, 0, "\\x1B[2J"}, // on stderr, made harmless
        {{"--check", design}, 2, "no space left", "/dev/full"},
        {{"--check", negative}, 2, "live load is negative"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ProgramRun run = runProgram(c.arguments, c.standardOutput);
        EXPECT_EQ(run.code, c.code);
        EXPECT_TRUE((run.out + run.err).contains(c.says))
            << run.out.toStdString() << run.err.toStdString();
    }
    // The pipe and the file behind the link are as they were.
    EXPECT_TRUE(QFileInfo(pipe).isFile() == false && QFileInfo(link).isSymLink());
    EXPECT_TRUE(document::readDesignFile(design).ignoredKeys.empty());
}

// A class brings its material's gamma M where a design gives none: GL24h
// under the amended rules with the start-up inputs, M = 1.78413 kNm, sigma
// = 4.80575 N/mm2, fm,d = 24 0.8 1.1 / 1.25 = 16.896: 0.284 (with 1.3,
// 16.2462: 0.296). Glulam's 1.25 is offered for a glulam class whichever
// table holds it (C24 made glulam, original rules: fm,d = 24 0.8 / 1.25 =
// 15.36, 0.313), and for no other; --check and the schedule alike.
TEST(CommandLine, TheClassMaterialDecidesGammaM)
{
    QTemporaryDir dir;
    const QString edited = dir.filePath("edited.mdb");
    ASSERT_TRUE(QFile::copy(
        QFileInfo(QStringLiteral(JOIST_SHIPPED_DATABASE)).dir().filePath("EN338-2016.mdb"),
        edited));
    QFile::setPermissions(edited, QFile::ReadOwner | QFile::WriteOwner);
    materials::testing::createDatabase(edited.toStdString(),
                                       "UPDATE Sheet1 SET Material = 'glulam' WHERE Class = 'C24'");
    const struct
    {
        const char *strengthClass, *gammaM, *rules, *table;
        bool edited;
        const char* bending; // empty: refused
    } cases[] = {
        {"GL24h", "", "amended", "en14080", false, "0.284"},
        {"GL24h", "1.3", "amended", "en14080", false, "0.296"},
        {"C24", "1.25", "original", "en338-2016", false, ""},
        {"C24", "1.25", "original", "en338-2016", true, "0.313"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.strengthClass) + " " + c.gammaM + (c.edited ? " edited" : ""));
        const QByteArray gammaM = *c.gammaM ? "\"gammaM\": \"" + QByteArray(c.gammaM) + "\", " : "";
        const QString design = writeDesign(
            dir, "m.joist", gammaM + "\"strengthClass\": \"" + c.strengthClass + "\"",
            "\"rules\": \"" + QByteArray(c.rules) + "\", \"table\": \"" + c.table + "\"");
        QFile schedule(dir.filePath("m.csv"));
        schedule.open(QIODevice::WriteOnly | QIODevice::Truncate);
        schedule.write(QByteArray("id,strengthClass,rules,table") + (*c.gammaM ? ",gammaM" : "") +
                       "\nm," + c.strengthClass + "," + c.rules + "," + c.table +
                       (*c.gammaM ? "," + QByteArray(c.gammaM) : "") + "\n");
        schedule.close();
        const QStringList database =
            c.edited ? QStringList{QStringLiteral("--database"), edited} : QStringList{};
        const ProgramRun checked = runProgram(QStringList{"--check", design} + database);
        const ProgramRun scheduled =
            runProgram(QStringList{"--schedule", schedule.fileName()} + database);
        const QString bending = QString::fromLatin1(c.bending);
        EXPECT_EQ(checked.code, bending.isEmpty() ? 2 : 0) << checked.err.toStdString();
        EXPECT_TRUE(bending.isEmpty() ? checked.err.contains("does not offer")
                                      : checked.out.contains("Bending: " + bending + "\n"));
        EXPECT_TRUE(
            scheduled.out.contains(bending.isEmpty() ? "does not offer" : "," + bending + ","))
            << scheduled.out.toStdString();
    }
}

// The window lists a class named twice and picks it by its place, but a
// design names its class alone: wherever a class must be found by its name,
// such a name is refused, naming the class, and the window warns at start-up.
TEST(ClassNamedTwice, IsRefusedWhereverADesignFindsItsClassByName)
{
    using namespace materials::testing;
    TemporaryDirectory folder;
    const std::string table =
        makeTable(folder, createSheet + ";" + classRows({"C16", "C24", "C24"}));
    QTemporaryDir dir;
    const QString design = writeDesign(dir, "c24.joist", "\"strengthClass\": \"C24\"");
    MainWindowDriver main(folder.path());
    main.start();
    const QString startUp = main.label("messageLbl");
    const bool opened = main.window->openDesign(design);
    const QString open = ui::testing::takeMessage(main);
    main.classList()->setCurrentIndex(2); // the second C24, as the window may pick it
    const bool saved = main.window->saveDesignTo(dir.filePath("saved.joist"));
    const QString save = ui::testing::takeMessage(main);
    control<QPushButton>(main.window.get(), "showDBdataBtn")->click();
    const QString material =
        control<QLabel>(main.window->materialDataWindow(), "messageLbl")->text();
    ClassTable classes(table, std::nullopt); // as --database reads it
    const std::string check =
        runDesign(document::readDesignFile(design).inputs, {}, classes).message;
    const ScheduleRun schedule = runSchedule("strengthClass\nC24\nC16\n", classes);
    const std::vector<document::CsvRecord> rows = document::parseCsv(schedule.output);
    ASSERT_EQ(rows.size(), 3u);

    const std::string named = "class \"C24\" is named twice (rows 2 and 3)";
    for (const auto& [surface, text] : {std::pair("start-up", startUp.toStdString()),
                                        {"Open", open.toStdString()},
                                        {"Save", save.toStdString()},
                                        {"material window", material.toStdString()},
                                        {"--check", check},
                                        {"--schedule", rows[1].fields.back()}})
        EXPECT_NE(text.find(named), std::string::npos) << surface << ": " << text;
    EXPECT_FALSE(opened || saved || QFile::exists(dir.filePath("saved.joist")));
    EXPECT_TRUE(schedule.warnings.ends_with("1 passed, 0 failed, 1 not checked (row 1); see the "
                                            "message column\n"))
        << schedule.warnings;
    main.classList()->setCurrentIndex(0); // a class named once is found as ever
    EXPECT_TRUE(main.window->saveDesignTo(dir.filePath("saved.joist")));
}

} // namespace
} // namespace cli
