// The calculation sheet as the user receives it: the PDF's text as pdftotext
// extracts it, the clipboard's plain text, the printout, and failed writes.
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "engine/number_text.h"
#include "report/design_basis_texts.h"
#include "report/span_table_texts.h"
#include "tests/checked_file_fixtures.h"
#include "tests/sheet_fixtures.h"
#include "tests/thrown_error.h"
#include "ui/sheet/sheet_output.h"

namespace {

using ui::CalculationSheet;
using ui::testing::pdfPages;
using ui::testing::pdfText;
using ui::testing::run;
using ui::testing::withoutSpaces;

QString number(float value, const std::string& separator)
{
    return QString::fromUtf8(joist::numberText(value, 4, separator));
}

// Every text the sheet must carry: inputs, properties, intermediate values,
// demands and capacities, ratio texts, the verdict, the aids and the table.
QStringList expectedTexts(const CalculationSheet& sheet)
{
    QStringList texts{
        sheet.className,          sheet.dataSource,        sheet.unityRatioText,
        sheet.verdictText,        sheet.spanTable.caption, QStringLiteral("2026-12-07 11:20"),
        sheet.programName,        sheet.programVersion,    QStringLiteral("6.1.6"),
        QStringLiteral("6.1.7"),  QStringLiteral("6.1.5"), QStringLiteral("7.2, 2.2.3"),
        QStringLiteral("governs")};
    texts << sheet.strengthClass.caption << sheet.strengthClass.text;
    for (const ui::SheetInput& input : sheet.inputs)
        texts << input.caption << input.text;
    for (const ui::SheetProperty& property : sheet.properties)
        texts << property.symbol << property.value;
    const joist::JoistDesign& d = sheet.design;
    for (const joist::CheckDefinition& check : joist::checkDefinitions) {
        if (joist::inForce(check, d))
            texts << QString::fromUtf8(check.caption.data(), qsizetype(check.caption.size()));
    }
    // The worked example's values to four figures; halves round up.
    for (const char* value :
         {"9900",
          "371.3 \u00D7 10\u00B3",
          "41.77 \u00D7 10\u2076",
          "0.03593",
          "0.12",
          "0.45",
          "0.8855",
          "1.771",
          "1.556",
          "2.8",
          "4.489",
          "13.33",
          "5.612",
          "8.412",
          "4.77",
          "0.2683",
          "0.805",
          "9.846",
          "1.108",
          "1.354",
          "fm,d = kmod \u00B7 kcrit \u00B7 ksys \u00B7 kh \u00B7 fm,k / \u03B3M = 0.8 \u00D7 1 "
          "\u00D7 1 \u00D7 1 \u00D7 16 / 1.3 = 9.846",
          "fv,d = kmod \u00B7 ksys \u00B7 fv,k / \u03B3M = 0.8 \u00D7 1 \u00D7 1.8 / 1.3 = 1.108",
          "fc,90,d = kmod \u00B7 fc,90,k / \u03B3M = 0.8 \u00D7 2.2 / 1.3 = 1.354",
          "g m (\u03B3M)",
          "k ls (ksys)",
          "E0,mean"})
        texts << QString::fromUtf8(value).replace('.',
                                                  QString::fromStdString(sheet.decimalSeparator));
    // The basis and what is not checked, in words.
    for (const char* line :
         {"EN 1995-1-1:2004 as first published", "no National Annex is applied",
          "material values EN 338:2003, Table 1",
          "the supporting member, notches and holes, lateral restraint, shear deformation",
          "Project", "Checked by", "Mill Lane", "J. Smith",
          "Strength-class table: ZU5ZO.mdb, SHA-256 0123456789ab"})
        texts << QString::fromUtf8(line);
    for (const std::string& statement :
         report::basisStatements(d.basis, d.tablePresumesKcr, sheet.decimalSeparator))
        texts << QString::fromUtf8(statement);
    for (const QString& ratio : sheet.ratioTexts)
        texts << ratio;
    for (const QString& aid : sheet.designAids)
        texts << aid.section(QStringLiteral(": "), 1);
    texts << sheet.spanTable.columnHeadings << sheet.spanTable.rowHeadings;
    for (std::size_t row = 0; row < sheet.spanTable.cells.size(); ++row) {
        for (qsizetype column = 0; column < sheet.spanTable.cells[row].size(); ++column)
            texts << sheet.spanTable.cells[row][column];
    }
    texts << sheet.spanTable.legend;
    return texts;
}

// A text as the printed sheet's text reads: "w_inst" is w with inst set
// below, spaces as pdftotext guesses them.
QString printed(const QString& text)
{
    return withoutSpaces(text).remove(QLatin1Char('_'));
}

class SheetInLocale : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        sheet_.details.project = QStringLiteral("Mill Lane");
        sheet_.details.calculatedBy = QStringLiteral("J. Smith");
        sheet_.tableFile = QStringLiteral("ZU5ZO.mdb");
        sheet_.tableFingerprint = QStringLiteral("0123456789ab");
    }
    CalculationSheet sheet_ = ui::testing::exampleSheet(GetParam());
    QTemporaryDir dir_;
};

// The member names the document: outside text, its controls shown as written.
TEST_P(SheetInLocale, PdfTitleShowsADirectionOverrideAsWritten)
{
    sheet_.details.member = QStringLiteral("B1\u202E2B");
    const QString path = dir_.filePath(QStringLiteral("sheet.pdf"));
    ui::writeSheetPdf(sheet_, path);
    const QString info = run(QStringLiteral("pdfinfo"), {path});
    EXPECT_TRUE(info.contains(QStringLiteral(": B1<U+202E>2B\n"))) << info.toStdString();
    EXPECT_FALSE(info.contains(QChar(0x202E)));
}

TEST_P(SheetInLocale, PdfIsOneA4PageWhoseTextHoldsEveryValue)
{
    ASSERT_TRUE(dir_.isValid());
    const QString path = dir_.filePath(QStringLiteral("sheet.pdf"));
    ui::writeSheetPdf(sheet_, path);

    EXPECT_EQ(pdfPages(path), 1);
    EXPECT_TRUE(run(QStringLiteral("pdfinfo"), {path}).contains(QStringLiteral("(A4)")));
    // pdftotext guesses the spaces between words from their distance.
    const QString text = pdfText(path);
    EXPECT_TRUE(text.contains(QStringLiteral("Page 1 of 1")));
    EXPECT_FALSE(withoutSpaces(text).contains(QStringLiteral("176562"))) << "seven figures";
    for (const QString& expected : expectedTexts(sheet_))
        EXPECT_TRUE(withoutSpaces(text).contains(printed(expected))) << expected.toStdString();
    if (GetParam() == std::string(".")) { // a symbol such as E0,05 keeps its comma
        EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("(?<![A-Za-z])\\d,\\d"))));
    }
}

TEST_P(SheetInLocale, PlainTextHasOneItemALineWithTabBetweenLabelAndValue)
{
    const QString text = ui::sheetPlainText(sheet_);
    for (const QString& expected : expectedTexts(sheet_))
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString();
    const QStringList lines = text.split(QLatin1Char('\n'));
    const ui::SheetInput& span = sheet_.input(joist::Input::span);
    EXPECT_TRUE(
        lines.contains(span.caption + QLatin1Char('\t') + span.text + QStringLiteral("\tm")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Result\t") + sheet_.verdictText));
    // A span table mark stands apart from the figure: in parentheses here,
    // raised on the formatted sheet.
    EXPECT_TRUE(text.contains('\t' + report::markedCell(sheet_.spanTable, 0, 1) + '\t'));
    EXPECT_TRUE(
        ui::sheetHtml(sheet_).contains(sheet_.spanTable.cells[0][1] + "&nbsp;&nbsp;<sup>") ||
        ui::sheetHtml(sheet_).contains(sheet_.spanTable.cells[0][1] + "<sup>"));
    const QString bearing = QStringLiteral("Bearing\t6.1.5\t");
    const auto governing = std::find_if(
        lines.begin(), lines.end(), [&](const QString& line) { return line.startsWith(bearing); });
    ASSERT_NE(governing, lines.end());
    EXPECT_TRUE(
        governing->endsWith(QLatin1Char('\t') + sheet_.ratioTexts[5] + QStringLiteral("\tgoverns")))
        << governing->toStdString();
}

INSTANTIATE_TEST_SUITE_P(Separators, SheetInLocale, ::testing::Values(".", ","));

// A changed basis: the limits used stand in the checks, the basis in the
// result, and the vibration block holds every intermediate.
TEST_P(SheetInLocale, StatesTheDesignBasisAndTheVibrationWorking)
{
    EXPECT_TRUE(ui::sheetPlainText(sheet_).contains("Floor vibration\tnot checked\n"));
    joist::JoistDesign& d = sheet_.design;
    d.basis.uNetFinDivisor = 360;
    d.basis.u2Cap = 12.5f;
    d.basis.vibration = true;
    joist::testing::RecordingSink sink;
    ASSERT_TRUE(joist::runDesignCheck(d, false, sink, GetParam()).completed());
    const QString text = ui::sheetPlainText(sheet_);
    const QString local = QString(GetParam());
    EXPECT_TRUE(text.contains("\tL/360\t")) << text.toStdString();
    EXPECT_TRUE(text.contains("\tL/300, at most 12" + local + "5 mm\t"));
    EXPECT_TRUE(text.contains("Design basis\tu net,fin limit, span divisor: 360; u 2 limit, "
                              "at most: 12" +
                              local + "5 mm; Check floor vibration: yes\n"));
    EXPECT_TRUE(
        text.contains("\nFloor vibration (EN 1995-1-1 7.3.3 with the UK National Annex)\n"));
    EXPECT_TRUE(text.contains("the UK National Annex is used for 7.3.3 only"));
    // Four figures; these lie where no power of ten applies.
    for (float value : {d.floorMass, d.f1, d.kdist, d.w, d.a, d.b, d.n40, d.v, d.vLimit})
        EXPECT_TRUE(text.contains(QRegularExpression(
            '\t' + QRegularExpression::escape(number(value, GetParam())) + "[\t\n]")))
            << value;
    // Under EN 1995-1-1's rules the sheet states the a chosen, which is not in
    // force under the UK National Annex's.
    const std::string a =
        report::basisStatement(joist::basisField("a"), d.basis, std::string(GetParam()));
    EXPECT_FALSE(text.contains(QString::fromUtf8(a)));
    joist::JoistDesign uk = d;
    d.basis.vibrationRules = joist::VibrationRules::en;
    ASSERT_TRUE(joist::runDesignCheck(d, false, sink, GetParam()).completed());
    const QString en = ui::sheetPlainText(sheet_);
    EXPECT_TRUE(en.contains('\n' + QString::fromUtf8(a) + '\n'));
    EXPECT_FALSE(en.contains("UK National Annex is used for 7.3.3") || en.contains("16500"));
    d = uk;
    // The f1 row reads what 7.3.3 requires against what the floor provides.
    EXPECT_TRUE(text.contains("\trequired f1,min\t8\tprovided f1\t" + number(d.f1, GetParam())));
    EXPECT_FALSE(text.contains("special investigation"));
    // Larger ones as a multiple of 10³ⁿ, never "e+11" nor seven digits.
    EXPECT_TRUE(text.contains('\t' + number(d.eiJoist / 1e9f, GetParam()) + " \u00D7 10\u2079\t"));
    EXPECT_FALSE(text.contains(QRegularExpression("\\de[+-]\\d|\\t\\d{5}")));
}

// The basis states each value of the design basis in force, and no other.
TEST(CalculationSheet, StatesEveryFieldOfTheBasisInForce)
{
    CalculationSheet sheet = ui::testing::exampleSheet(".");
    sheet.design.basis.rules = joist::Rules::amended;
    sheet.design.basis.pointLoad = true;
    joist::testing::RecordingSink sink;
    ASSERT_TRUE(joist::runDesignCheck(sheet.design, false, sink, ".").completed());
    const QString text = ui::sheetPlainText(sheet);
    for (const joist::BasisField& field : joist::basisFields)
        EXPECT_EQ(text.contains(
                      '\n' +
                      QString::fromUtf8(report::basisStatement(field, sheet.design.basis, ".")) +
                      '\n'),
                  joist::inForce(field, sheet.design.basis, sheet.design.tablePresumesKcr))
            << field.key;
}

// Under the amended rules the basis names them with kcr, l ef and kc,90 and
// why, and the shear and bearing rows divide what those rules divide.
TEST_P(SheetInLocale, StatesTheAmendedRulesAndWhatTheyGive)
{
    joist::JoistDesign& d = sheet_.design;
    d.basis.rules = joist::Rules::amended;
    d.basis.endDistance = 50;
    d.material = joist::Material::softwood;
    joist::testing::RecordingSink sink;
    ASSERT_TRUE(joist::runDesignCheck(d, false, sink, GetParam()).completed());
    const QString text = ui::sheetPlainText(sheet_);
    const QString local = QString(GetParam());
    EXPECT_TRUE(text.contains("EN 1995-1-1:2004 with A1:2008")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nCrack factor k cr: 0" + local + "67\n"));
    EXPECT_TRUE(text.contains("l ef = 110 mm, kc,90 = 1" + local + "5 (softwood, l1 = 3950 mm"));
    EXPECT_TRUE(text.contains("\tkc,90 fc,90,d\t"));
    EXPECT_TRUE(
        text.contains("Design basis\tRules: EN 1995-1-1 with A1:2008; End distance a: 50 mm\n"));
}

// Below 8 Hz 7.3.3 gives no rule for w and v: the sheet says so rather
// than present them as a check.
TEST(CalculationSheet, AFloorBelowEightHertzNeedsASpecialInvestigation)
{
    CalculationSheet sheet = ui::testing::exampleSheet(".");
    sheet.design.basis.vibration = true;
    sheet.design.span = 6;
    joist::testing::RecordingSink sink;
    ASSERT_TRUE(joist::runDesignCheck(sheet.design, false, sink, ".").completed());
    ASSERT_LT(sheet.design.f1, 8);
    const QString text = ui::sheetPlainText(sheet);
    EXPECT_TRUE(text.contains("7.3.3 requires a special investigation of this floor"));
    const QStringList lines = text.split('\n');
    for (const char* check : {"w\t", "v\t"}) {
        const auto row = std::find_if(lines.begin(), lines.end(), [&](const QString& line) {
            return line.startsWith(check) && line.contains("\t7.3.3\t");
        });
        ASSERT_NE(row, lines.end()) << check;
        EXPECT_TRUE(row->section('\t', -1).contains("not valid: f1 < 8 Hz")) << row->toStdString();
    }
    // The added statement still leaves the span table alone on page two.
    QTemporaryDir dir;
    ui::writeSheetPdf(sheet, dir.filePath(QStringLiteral("sheet.pdf")));
    EXPECT_EQ(pdfPages(dir.filePath(QStringLiteral("sheet.pdf"))), 2);
}

// With the vibration block the sheet no longer fits one page: the span table
// moves whole to a second, and both pages say so.
TEST_P(SheetInLocale, TooLongForOnePagePutsTheSpanTableOnASecond)
{
    // Both blocks the basis may add, each with its working: still two pages.
    sheet_.design.basis.vibration = true;
    sheet_.design.basis.pointLoad = true;
    joist::testing::RecordingSink sink;
    ASSERT_TRUE(joist::runDesignCheck(sheet_.design, false, sink, GetParam()).completed());
    const QString path = dir_.filePath(QStringLiteral("long.pdf"));
    ui::writeSheetPdf(sheet_, path);
    ASSERT_EQ(pdfPages(path), 2);
    const QStringList pages = pdfText(path).split(QLatin1Char('\f'));
    ASSERT_GE(pages.size(), 2);
    EXPECT_TRUE(pages[0].contains("Page 1 of 2"));
    EXPECT_FALSE(pages[0].contains(sheet_.spanTable.caption));
    EXPECT_TRUE(pages[1].contains("Page 2 of 2"));
    EXPECT_TRUE(pages[1].contains(sheet_.spanTable.caption));
    const QString all = withoutSpaces(pages.join(QString()));
    for (const QString& expected : expectedTexts(sheet_)) {
        if (!expected.contains("no National")) {
            EXPECT_TRUE(all.contains(printed(expected))) << expected.toStdString();
        }
    }
    EXPECT_TRUE(all.contains("floorvibrationchecked(designbasis)"));
    EXPECT_TRUE(all.contains("(theengineer’sassumption)") ||
                all.contains("(theengineer'sassumption)"));
}

// With the extended sizes the span table runs over more pages than the
// sheet's two: every page still bears the header and its true number, and
// the table its column heads.
TEST(CalculationSheet, EveryPageHasTheHeaderWithItsTruePageNumber)
{
    CalculationSheet sheet = ui::testing::exampleSheet(".");
    joist::DesignBasis& basis = sheet.design.basis;
    basis.sizes = joist::Sizes::extended;
    basis.vibration = true;
    basis.pointLoad = true;
    joist::testing::RecordingSink sink;
    ASSERT_TRUE(joist::runDesignCheck(sheet.design, false, sink, ".").completed());
    sheet.spanTable = report::spanTableTexts(sheet.design, sheet.className,
                                             joist::listValues(joist::Input::breadth, basis),
                                             joist::listValues(joist::Input::depth, basis),
                                             joist::listValues(joist::Input::spacing), ".");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("extended.pdf"));
    ui::writeSheetPdf(sheet, path);
    const int count = pdfPages(path);
    ASSERT_GT(count, 2);
    const QStringList pages = pdfText(path).split(QLatin1Char('\f'));
    for (int page = 1; page <= count; ++page) {
        const QString text = pages.value(page - 1);
        EXPECT_TRUE(text.contains(QStringLiteral("Timber floor joist to EN 1995-1-1")) &&
                    text.contains(QStringLiteral("Page %1 of %2").arg(page).arg(count)))
            << "page " << page;
    }
    EXPECT_TRUE(
        pages.value(count - 1).contains(QRegularExpression(QStringLiteral("Section +200 +300"))));
}

TEST(CalculationSheet, UntrustedTextIsEscapedCutAndStaysInItsCell)
{
    CalculationSheet sheet = ui::testing::exampleSheet(".");
    // Far too long to lay out: cut, so the PDF is written at once.
    sheet.className = QStringLiteral("C16\tx\ny<b>\u202E") + QString(300000, QLatin1Char('x'));
    const QString text = ui::sheetPlainText(sheet);
    EXPECT_TRUE(text.contains(QStringLiteral("Strength class C16\\x09x\\x0Ay<b><U+202E>xx")));
    EXPECT_TRUE(text.contains(QStringLiteral("xx\u2026 (EN 338")));
    EXPECT_FALSE(text.contains(QChar(0x202E)));
    const QString html = ui::sheetHtml(sheet);
    EXPECT_TRUE(html.contains(QStringLiteral("C16\\x09x\\x0Ay&lt;b&gt;&lt;U+202E&gt;")));
    EXPECT_TRUE(html.contains(QStringLiteral("<img src=\"data:image/png;base64,")));
    QTemporaryDir dir;
    ui::writeSheetPdf(sheet, dir.filePath(QStringLiteral("sheet.pdf")));
    EXPECT_TRUE(pdfText(dir.filePath(QStringLiteral("sheet.pdf"))).contains("<U+202E>"));
}

// The header wraps a detail as long as one may be, whole, and the sheet keeps
// its one or two pages.
TEST(CalculationSheet, HeaderShowsTheLongestDetailsWhole)
{
    CalculationSheet sheet = ui::testing::exampleSheet(".");
    const QString ending = QStringLiteral(" (bearing on blockwork)");
    QString longest;
    while (longest.size() + ending.size() < document::longestSheetDetail)
        longest += QStringLiteral("First floor joists J1 to J14, ");
    longest.truncate(document::longestSheetDetail - ending.size());
    longest += ending;
    for (const document::SheetDetailField& field : document::sheetDetailFields)
        sheet.details.*field.member = longest;
    EXPECT_EQ(ui::sheetPlainText(sheet).count(longest), 6);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long header.pdf"));
    ui::writeSheetPdf(sheet, path);
    const int pages = pdfPages(path);
    EXPECT_LE(pages, 2);
    EXPECT_EQ(pdfText(path).count(QStringLiteral("(bearing on blockwork)")), 6 * pages);
}

TEST(SheetPrinting, PrintsThroughAPrinterSetToPdfOutput)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const CalculationSheet sheet = ui::testing::exampleSheet(",");
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("printed.pdf")));
    ui::printSheet(sheet, printer);
    EXPECT_TRUE(pdfText(printer.outputFileName()).contains(sheet.verdictText));

    printer.setOutputFileName(dir.filePath(QStringLiteral("missing/printed.pdf")));
    EXPECT_TRUE(testing_support::throwsWith<ui::SheetOutputError>(
        [&] { ui::printSheet(sheet, printer); }, "missing"));
}

// The sheet as a PDF, and through a printer set to a file.
TEST(SheetOutput, AFailedWriteLeavesNoFileKeepsTheOldOneAndSaysWhy)
{
    const CalculationSheet sheet = ui::testing::exampleSheet(".");
    const testing_support::Writer writers[] = {
        [&](const QString& path) { ui::writeSheetPdf(sheet, path); },
        [&](const QString& path) {
            QPrinter printer;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            ui::printSheet(sheet, printer);
        },
    };
    testing_support::expectHostileTargetsRefused(writers);
}

TEST(SheetFileName, NamesTheJoistAndKeepsUntrustedTextOutOfThePath)
{
    CalculationSheet sheet = ui::testing::exampleSheet(",");
    EXPECT_EQ(ui::proposedSheetFileName(sheet), QStringLiteral("joist-C16-44x225-span-4.pdf"));
    const struct
    {
        const char* className;
        const char* span;
        const char* name;
    } cases[] = {
        {"../../etc/passwd", "4,5", "joist-etc_passwd-44x225-span-4,5.pdf"},
        {"C24\n\t", " 6 ", "joist-C24-44x225-span-6.pdf"},
        {"/", "", "joist-class-44x225-span-L.pdf"},
        {"-rf *", "4", "joist-rf_-44x225-span-4.pdf"},
        {"C16", "-5", "joist-C16-44x225-span--5.pdf"},
    };
    for (const auto& c : cases) {
        sheet.className = QString::fromUtf8(c.className);
        for (ui::SheetInput& input : sheet.inputs)
            if (input.input == joist::Input::span)
                input.text = QString::fromUtf8(c.span);
        EXPECT_EQ(ui::proposedSheetFileName(sheet), QString::fromUtf8(c.name)) << c.className;
    }
    EXPECT_TRUE(
        ui::proposedSheetPath(sheet).endsWith(QLatin1Char('/') + QString::fromUtf8(cases[4].name)));
}

} // namespace
