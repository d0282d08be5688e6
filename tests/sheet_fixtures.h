#pragma once

// An example calculation sheet filled as the main window fills it, and ways to
// read a PDF's text, for the sheet tests.

#include <string>

#include <QDate>
#include <QProcess>
#include <QRegularExpression>
#include <QString>

#include "engine/design_aids.h"
#include "engine/design_inputs.h"
#include "engine/number_text.h"
#include "report/strength_class_properties.h"
#include "tests/engine_fixtures.h"
#include "ui/sheet/calculation_sheet.h"

namespace ui::testing {

// What a program prints, or nothing when it fails.
inline QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString pdfText(const QString& path)
{
    return run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
}

inline int pdfPages(const QString& path)
{
    const QString info = run(QStringLiteral("pdfinfo"), {path});
    const qsizetype at = info.indexOf(QStringLiteral("Pages:"));
    return at < 0 ? 0 : info.mid(at + 6).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
}

inline QString withoutSpaces(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

inline QString localText(const char* text, const std::string& separator)
{
    return QString::fromUtf8(text).replace(QLatin1Char('.'), QString::fromUtf8(separator));
}

// The start-up joist in C16, filled as the main window fills it: texts as the
// screen shows them, the design and its label texts from a completed check.
inline CalculationSheet exampleSheet(const std::string& separator)
{
    CalculationSheet sheet;
    sheet.programName = QStringLiteral("Timber Joist Design to EC5");
    sheet.programVersion = QStringLiteral("1.0.0");
    sheet.created = QDateTime(QDate(2026, 12, 7), QTime(11, 20));
    sheet.decimalSeparator = separator;
    // The start-up texts of the window's own inputs.
    for (const joist::InputFacts& row : joist::inputFacts()) {
        if (!row.field.empty())
            continue;
        const std::string_view text = row.startValue.empty() ? row.designText : row.startValue;
        sheet.inputs.push_back({row.input, QString::fromStdString(captionWithSymbol(row)),
                                localText(std::string(text).c_str(), separator),
                                QString::fromUtf8(row.unit)});
    }
    sheet.strengthClass = {{}, QStringLiteral("Strength Class"), QStringLiteral("C16"), {}};
    sheet.className = QStringLiteral("C16");
    const char* values[] = {"16", "10",  "0.5",  "17",  "2.2", "1.8",
                            "8",  "5.4", "0.27", "0.5", "370", "310"};
    for (std::size_t i = 0; i < report::strengthClassProperties.size(); ++i)
        sheet.properties[i] = {
            QString::fromUtf8(report::sheetSymbolOf(report::strengthClassProperties[i])),
            localText(values[i], separator),
            QString::fromUtf8(report::strengthClassProperties[i].unit)};

    sheet.design = joist::testing::startExample();
    joist::testing::RecordingSink sink;
    joist::runDesignCheck(sheet.design, false, sink, separator);
    for (const joist::CheckDefinition& check : joist::checkDefinitions)
        sheet.ratioTexts.push_back(QString::fromUtf8(sink.shown[check.label]));
    sheet.unityRatioText = QString::fromUtf8(sink.shown[joist::ResultLabel::unityRatio]);
    sheet.verdictText = QString::fromUtf8(sink.shown[joist::ResultLabel::governedBy]);

    sheet.designAids = {localText("Longest span that passes: 4.372 m", separator),
                        QStringLiteral("Lightest listed section that passes: 44 x 175 mm")};
    report::SpanTableTexts& table = sheet.spanTable;
    table.caption =
        localText("Span table: C16, dead 0.4 kN/m\u00B2, live 1.5 kN/m\u00B2, bearing length 50 mm "
                  "(longest spans in m)",
                  separator);
    for (const char* spacing : {"200", "300", "400", "450", "500", "550", "600"})
        table.columnHeadings << QString::fromLatin1(spacing);
    for (int width : {36, 44, 75}) {
        for (int depth : {100, 115, 125, 150, 175, 200, 225}) {
            table.rowHeadings << QStringLiteral("%1 x %2").arg(width).arg(depth);
            QStringList row;
            QStringList marks;
            for (int column = 0; column < 7; ++column) {
                const float metres = float(width * depth) / float(2000 + 400 * column);
                row << QString::fromUtf8(joist::generalText(metres, separator));
                marks << QChar::fromLatin1(joist::checkDefinitions[std::size_t(column) % 6].mark);
            }
            table.cells.push_back(row);
            table.marks.push_back(marks);
        }
    }
    table.legend = QString::fromUtf8(joist::spanTableLegend(sheet.design));
    table.highlightedRow = 13;
    table.highlightedColumn = 1;

    return sheet;
}

} // namespace ui::testing
