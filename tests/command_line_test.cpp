// The command line as a script meets it: the program run with no display,
// its exit codes, and output that says what the window says in the C locale.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "tests/main_window_fixtures.h"
#include "ui/command_line.h"
#include "ui/csv.h"
#include "ui/design_basis_settings.h"
#include "ui/design_basis_window.h"

namespace ui {
namespace {

using testing::MainWindowDriver;

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
ProgramRun runProgram(const QStringList& arguments)
{
    QProcess program;
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
        // One line per result label, the vibration ratios after the six
        // ratios as the design basis window shows them, then the design
        // aids, each "caption: text".
        QStringList values;
        for (const QString& line : text.out.split('\n', Qt::SkipEmptyParts))
            values << line.section(": ", 1);
        QStringList expected = window.results();
        const bool vibration = window.window->design().basis.vibration;
        EXPECT_EQ(vibration, !c.basis.isEmpty());
        QStringList ratios;
        if (vibration) {
            window.window->findChild<QAction*>("designBasisAct")->trigger();
            for (const char* name : {"ratioF1Lbl", "ratioWLbl", "ratioVLbl"})
                ratios << window.label(name);
            for (int i = 0; i < 3; ++i)
                expected.insert(6 + i, ratios[i]);
        }
        EXPECT_EQ(values, expected + QStringList(window.window->designAidLines())
                                         .replaceInStrings(QRegularExpression("^.*: "), ""));
        writeDesignBasis(*programSettings(), {});  // opening the file stored its basis
        programSettings()->remove("sheetDetails"); // and its details
        const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
        EXPECT_EQ(object.contains("f1"), vibration);
        if (vibration) {
            EXPECT_EQ(object["v"].toString(), ratios[2]);
        }
        EXPECT_EQ(object["overall"].toString(), window.label("unityRatioLbl"));
        EXPECT_EQ(object["verdict"].toString(), window.label("governedByLbl"));
        EXPECT_EQ(object["passes"].toBool(), c.code == 0);
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
    struct Case
    {
        QByteArray header, rows;
        int code;
    };
    const Case cases[] = {{header, passes, 0},
                          {header, passes + fails, 1},
                          {header, passes + fails + bad, 2},
                          {basisHeader, vibration + noVibration + badBasis, 2}};
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
        EXPECT_TRUE(written.startsWith(c.header.trimmed() +
                                       ",bending,shear,bearing,u2,u2Fin,uNetFin," +
                                       (vibrationColumns ? "f1,w,v," : "") +
                                       "overall,verdict,longestSpan,lightestSection,message\r\n"));
        const std::vector<CsvRecord> records = parseCsv(written.toStdString());
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
        if (!vibrationColumns)
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
    }
}

TEST(CommandLine, ALongScheduleComesOutInRowOrderAsEachRowAlone)
{
    // Long enough to be shared among threads, with a bad row in every few,
    // and rows that share all but span and section. In the second schedule
    // most line breaks stand inside quoted fields, where no part may start.
    const std::string header = "id,span,breadth,depth,strengthClass\r\n";
    ClassTable table(JOIST_SHIPPED_DATABASE);
    for (const std::string idEnd : {"", "\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n"}) {
        std::string rows;
        for (int i = 0; i < 2000; ++i)
            rows += "\"J" + std::to_string(i) + idEnd + "\"," + std::to_string(2 + i % 61 * 0.1) +
                    "," + (i % 7 == 3 ? "50" : "44") + "," + (i % 3 == 0 ? "175" : "225") +
                    (i % 5 == 0 ? ",C16" : ",C24") + "\r\n";
        const ScheduleRun whole = runSchedule(header + rows, table);
        std::string alone;
        int worst = 0;
        for (const CsvRecord& row : parseCsv(rows)) {
            std::string line;
            appendCsvRecord(line, row.fields);
            const ScheduleRun one = runSchedule(header + line, table);
            alone += one.output.substr(one.output.find('\n') + 1);
            worst = std::max(worst, one.exitCode);
        }
        EXPECT_EQ(whole.output.substr(whole.output.find('\n') + 1), alone);
        EXPECT_EQ(whole.exitCode, worst);
    }
}

TEST(CommandLine, ModesAndRefusals)
{
    QTemporaryDir dir;
    const QString design = writeDesign(dir, "d.joist", "");
    struct Case
    {
        QStringList arguments;
        int code;
        const char* says; // on stdout for 0, stderr otherwise
    };
    const Case cases[] = {
        {{"--help"}, 0, "--schedule"},
        {{"--version"}, 0, "timber-joist "},
        {{"--check", dir.filePath("missing.joist")}, 2, "no such file"},
        {{"--check", design, "--database", dir.filePath("none.mdb")}, 2, "none.mdb"},
        {{"--check", design, "--schedule", design}, 2, "either"},
        {{"--json"}, 2, "--check"},
        {{"--check", design, "--output", "x.csv"}, 2, "--output"},
        {{"--check", design, "--colour"}, 2, "colour"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ProgramRun run = runProgram(c.arguments);
        EXPECT_EQ(run.code, c.code);
        EXPECT_TRUE((c.code == 0 ? run.out : run.err).contains(c.says))
            << run.out.toStdString() << run.err.toStdString();
    }
}

TEST(Csv, ReadsRfc4180AndSaysWhereARecordBreaksIt)
{
    struct Case
    {
        const char* text;
        std::vector<std::vector<std::string>> records;
        std::vector<std::string> problems;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF"
         "a,b\r\n\r\n1,\"x, \"\"y\"\"\r\nz\"\n",
         {{"a", "b"}, {"1", "x, \"y\"\r\nz"}},
         {"", ""}},
        {"a,\nb", {{"a", ""}, {"b"}}, {"", ""}},
        {"a\"b,c\n\"open", {{"a\"b", "c"}, {"open"}}, {"a quote", "a quoted field"}},
        {"\"x\"y,z", {{"xy", "z"}}, {"text follows"}},
    };
    for (const Case& c : cases) {
        const std::vector<CsvRecord> records = parseCsv(c.text);
        ASSERT_EQ(records.size(), c.records.size()) << c.text;
        for (std::size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(records[i].fields, c.records[i]) << c.text;
            EXPECT_TRUE(records[i].problem.starts_with(c.problems[i])) << records[i].problem;
            std::string written;
            appendCsvRecord(written, records[i].fields);
            EXPECT_EQ(parseCsv(written).front().fields, records[i].fields);
        }
    }
}

} // namespace
} // namespace ui
