#include "ui/sheet/calculation_sheet.h"

#include <algorithm>
#include <stdexcept>

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QTextDocument>
#include <QUrl>

#include "engine/design_check.h"
#include "engine/number_text.h"
#include "ui/check_working.h"
#include "ui/design_basis_texts.h"
#include "ui/toolkit/display_text.h"

namespace ui {
namespace {

using joist::Check;

// One block of the sheet: a heading over rows of cells. The plain text and
// the HTML are both written from these, so they cannot disagree.
struct Table
{
    QString heading;
    QStringList columns; // none for label and value lists
    std::vector<QStringList> rows;
    int strongRow = -1; // the governing check
    int highlightedRow = -1;
    int highlightedColumn = -1; // counted from the first cell after the row's label
};

class SheetTables
{
public:
    explicit SheetTables(const CalculationSheet& sheet) : sheet_(sheet) {}

    QString title() const { return QStringLiteral("Timber floor joist to EN 1995-1-1"); }

    // Label and value of each line under the title.
    std::vector<QStringList> titleLines() const
    {
        return {
            {QStringLiteral("Date"), sheet_.created.toString(QStringLiteral("yyyy-MM-dd HH:mm"))},
            {QStringLiteral("Program"),
             sheet_.programName + QLatin1Char(' ') + sheet_.programVersion}};
    }

    Table inputs() const
    {
        Table table{QStringLiteral("Inputs"), {}, {}};
        const SheetInput& material = sheet_.strengthClass;
        table.rows.push_back({material.caption, displayText(material.text), material.unit});
        for (const SheetInput& input : sheet_.inputs)
            table.rows.push_back({input.caption, displayText(input.text), input.unit});
        return table;
    }

    Table material() const
    {
        Table table{QStringLiteral("Strength class %1 (%2)")
                        .arg(displayText(sheet_.className), sheet_.dataSource),
                    {},
                    {}};
        for (const SheetProperty& property : sheet_.properties)
            table.rows.push_back({property.symbol, displayText(property.value), property.unit});
        return table;
    }

    Table actions() const
    {
        const joist::JoistDesign& d = sheet_.design;
        Table table{QStringLiteral("Section properties and actions"), {}, {}};
        auto row = [&](const QString& label, float value, const char* unit) {
            table.rows.push_back({label, number(value), QString::fromUtf8(unit)});
        };
        row(QStringLiteral("Area A = b h"), d.area, "mm\u00B2");
        row(QStringLiteral("Section modulus W = b h\u00B2/6"), d.sectionModulus, "mm\u00B3");
        row(QStringLiteral("Second moment I = b h\u00B3/12"), d.secondMoment, "mm\u2074");
        row(QStringLiteral("Self weight g0"), d.selfWeight, "kN/m");
        row(QStringLiteral("Dead line load gk"), d.deadLineLoad, "kN/m");
        row(QStringLiteral("Live line load qk"), d.liveLineLoad, "kN/m");
        row(QStringLiteral("Design load w = %1 (g0 + gk) + %2 qk").arg(number(1.35f), number(1.5f)),
            d.designLoad, "kN/m");
        row(QStringLiteral("Design moment M = w L\u00B2/8"), d.designMoment, "kNm");
        row(QStringLiteral("Design shear V = w L/2"), d.designShear, "kN");
        row(QStringLiteral("Deflection u inst,G"), d.uInstG, "mm");
        row(QStringLiteral("Deflection u fin,G"), d.uFinG, "mm");
        return table;
    }

    Table checks() const
    {
        Table table{QStringLiteral("Checks (EN 1995-1-1)"),
                    {QStringLiteral("Check"), QStringLiteral("Clause"), QStringLiteral("Demand"),
                     QString(), QStringLiteral("Capacity or limit"), QString(),
                     QStringLiteral("Unit"), QStringLiteral("Ratio"), QString()},
                    {}};
        const std::optional<Check> governing = joist::governingCheck(sheet_.design);
        const std::string_view separator = sheet_.decimalSeparator;
        for (std::size_t i = 0; i < joist::checkDefinitions.size(); ++i) {
            const joist::CheckDefinition& check = joist::checkDefinitions[i];
            if (!joist::inForce(check, sheet_.design))
                continue;
            if (governing == check.check)
                table.strongRow = static_cast<int>(table.rows.size());
            table.rows.push_back(
                {QString::fromUtf8(check.caption), QString::fromUtf8(check.clause),
                 QString::fromUtf8(localSymbol(check.demandSymbol, separator)),
                 number(sheet_.design.*check.numerator),
                 QString::fromUtf8(deflectionLimitText(check.check, sheet_.design.basis, separator)
                                       .value_or(localSymbol(check.capacitySymbol, separator))),
                 number(sheet_.design.*check.denominator), QString::fromUtf8(check.unit),
                 sheet_.ratioTexts[i],
                 governing == check.check ? QStringLiteral("governs") : QString()});
        }
        return table;
    }

    // Every intermediate of the vibration check.
    Table vibration() const
    {
        const joist::JoistDesign& d = sheet_.design;
        Table table{QStringLiteral("Floor vibration (EN 1995-1-1 7.3.3, UK NA rules)"), {}, {}};
        auto row = [&](const char* label, float value, const char* unit) {
            table.rows.push_back(
                {QString::fromUtf8(label), number(value), QString::fromUtf8(unit)});
        };
        row("Floor width B", d.basis.floorWidth, "m");
        row("Deck thickness t", d.basis.deckThickness, "mm");
        row("Deck modulus across the joists E", d.basis.deckModulus, "N/mm\u00B2");
        table.rows.push_back(
            {QStringLiteral("Strutting"),
             d.basis.strutting ? QStringLiteral("yes (k strut 0.97)") : QStringLiteral("no")});
        row("Damping ratio \u03B6", d.basis.damping, "");
        row("Amplification k amp", d.basis.kamp, "");
        row("Mass m (permanent actions)", d.floorMass, "kg/m\u00B2");
        row("(EI)L = E0,mean I / s", d.eiFloor, "N m\u00B2/m");
        row("(EI)joist = E0,mean I", d.eiJoist, "N mm\u00B2");
        row("(EI)B = E t\u00B3/12", d.eiDeck, "N mm\u00B2/m");
        row("f1 = \u03C0/(2 L\u00B2) \u221A((EI)L/m)", d.f1, "Hz");
        row("k dist", d.kdist, "");
        row("w = k dist L\u00B3 k amp / (48 (EI)joist) under 1 kN", d.w, "mm");
        row("a", d.a, "mm");
        row("b", d.b, "");
        row("n40", d.n40, "");
        row("v = 4 (0.4 + 0.6 n40) / (m B L + 200)", d.v, "m/(N s\u00B2)");
        row("v limit = b^(f1 \u03B6 \u2212 1)", d.vLimit, "m/(N s\u00B2)");
        return table;
    }

    // The deflection limits used stand in the checks' capacity column; a
    // basis other than the defaults is named here too.
    Table verdict() const
    {
        Table table{QStringLiteral("Result"),
                    {},
                    {{QStringLiteral("Overall"), sheet_.unityRatioText},
                     {QStringLiteral("Result"), sheet_.verdictText}}};
        const joist::DesignBasis& basis = sheet_.design.basis;
        if (basisChangesResults(basis))
            table.rows.push_back(
                {QStringLiteral("Design basis"),
                 QString::fromUtf8(basisDescription(basis, sheet_.decimalSeparator))});
        if (!basis.vibration)
            table.rows.push_back(
                {QStringLiteral("Floor vibration"), QStringLiteral("not checked")});
        return table;
    }

    // "Longest span that passes: 4.372 m" becomes a label and a value.
    Table designAids() const
    {
        Table table{QStringLiteral("Design aids"), {}, {}};
        for (const QString& line : sheet_.designAids) {
            const qsizetype colon = line.indexOf(QStringLiteral(": "));
            if (colon < 0)
                table.rows.push_back({line});
            else
                table.rows.push_back({line.left(colon), line.mid(colon + 2)});
        }
        return table;
    }

    Table spanTable() const
    {
        const SpanTableTexts& spans = sheet_.spanTable;
        Table table{
            spans.caption, QStringList{QStringLiteral("Section")} + spans.columnHeadings, {}};
        for (qsizetype row = 0; row < spans.rowHeadings.size(); ++row) {
            QStringList cells{spans.rowHeadings[row]};
            if (std::size_t(row) < spans.cells.size()) {
                for (qsizetype column = 0; column < spans.cells[std::size_t(row)].size(); ++column)
                    cells << markedCell(spans, std::size_t(row), column);
            }
            table.rows.push_back(cells);
        }
        table.highlightedRow = spans.highlightedRow;
        table.highlightedColumn = spans.highlightedColumn;
        return table;
    }

private:
    QString number(float value) const
    {
        return QString::fromUtf8(joist::generalText(value, sheet_.decimalSeparator));
    }

    const CalculationSheet& sheet_;
};

// Text from the screen or the table file may hold anything; in the plain
// text a tab or line break inside it would shift the spreadsheet's cells.
QString plainCell(QString text)
{
    for (QChar& c : text) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return text;
}

void appendPlain(QString& out, const Table& table)
{
    out += plainCell(table.heading) + QLatin1Char('\n');
    auto line = [&out](const QStringList& cells) {
        QStringList clean;
        for (const QString& cell : cells)
            clean << plainCell(cell);
        while (!clean.isEmpty() && clean.back().isEmpty())
            clean.removeLast();
        out += clean.join(QLatin1Char('\t')) + QLatin1Char('\n');
    };
    if (!table.columns.isEmpty())
        line(table.columns);
    for (const QStringList& row : table.rows)
        line(row);
    out += QLatin1Char('\n');
}

QString html(const QString& text)
{
    return text.toHtmlEscaped();
}

constexpr const char* highlight = "#fff2b3";

QString tableHtml(const Table& table)
{
    QString out = QStringLiteral("<p class=\"h\"><b>%1</b></p>").arg(html(table.heading));
    out += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\">");
    if (!table.columns.isEmpty()) {
        out += QStringLiteral("<tr>");
        for (const QString& column : table.columns)
            out += QStringLiteral("<th align=\"left\">%1&nbsp;</th>").arg(html(column));
        out += QStringLiteral("</tr>");
    }
    for (int r = 0; r < static_cast<int>(table.rows.size()); ++r) {
        const QStringList& row = table.rows[std::size_t(r)];
        out += QStringLiteral("<tr>");
        for (int c = 0; c < row.size(); ++c) {
            const bool lit =
                r == table.highlightedRow || (c > 0 && c - 1 == table.highlightedColumn);
            QString cell = html(row[c]);
            if (r == table.strongRow ||
                (c > 0 && r == table.highlightedRow && c - 1 == table.highlightedColumn))
                cell = QStringLiteral("<b>%1</b>").arg(cell);
            out += lit ? QStringLiteral("<td bgcolor=\"%1\">").arg(QLatin1String(highlight))
                       : QStringLiteral("<td>");
            out += cell + QStringLiteral("&nbsp;&nbsp;</td>");
        }
        out += QStringLiteral("</tr>");
    }
    return out + QStringLiteral("</table>");
}

// The page: two columns for the inputs and the actions, the checks and the
// span table across the width.
QString pageHtml(const CalculationSheet& sheet, const QString& sketchSource)
{
    const SheetTables tables(sheet);
    QString out =
        QStringLiteral("<html><head><meta charset=\"utf-8\"><style>"
                       "body { font-family: 'Liberation Sans', Arial, sans-serif; font-size: 8pt; }"
                       "p.h { margin-top: 6px; margin-bottom: 2px; }"
                       "</style></head><body>");
    out += QStringLiteral("<p style=\"font-size: 13pt; margin-bottom: 2px;\"><b>%1</b></p>")
               .arg(html(tables.title()));
    QStringList meta;
    for (const QStringList& line : tables.titleLines())
        meta << html(line.join(QStringLiteral(": ")));
    out += QStringLiteral("<p>%1</p>").arg(meta.join(QStringLiteral("&nbsp;&nbsp;&nbsp; ")));

    const QSizeF logical = sheet.sketch.deviceIndependentSize();
    const QString sketch =
        sheet.sketch.isNull()
            ? QString()
            : QStringLiteral("<p class=\"h\"><b>Section</b></p><p><img src=\"%1\" width=\"%2\" "
                             "height=\"%3\"></p>")
                  .arg(sketchSource)
                  .arg(qRound(logical.width() * 0.8))
                  .arg(qRound(logical.height() * 0.8));
    out +=
        QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\" width=\"100%\">"
                       "<tr><td valign=\"top\" width=\"50%\">%1</td><td valign=\"top\">%2</td></tr>"
                       "<tr><td valign=\"top\">%3</td><td valign=\"top\">%4</td></tr></table>")
            .arg(tableHtml(tables.inputs()), tableHtml(tables.material()),
                 tableHtml(tables.actions()), sketch);
    out += tableHtml(tables.checks());
    if (sheet.design.basis.vibration)
        out += tableHtml(tables.vibration());
    out += tableHtml(tables.verdict());
    out += tableHtml(tables.designAids());
    out += tableHtml(tables.spanTable());
    if (!sheet.spanTable.legend.isEmpty())
        out += QStringLiteral("<p style=\"margin-top: 0px;\">%1</p>")
                   .arg(html(sheet.spanTable.legend));
    return out + QStringLiteral("</body></html>");
}

QString pngDataUrl(const QImage& image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}

} // namespace

const SheetInput& CalculationSheet::input(joist::Input which) const
{
    const auto found = std::find_if(inputs.begin(), inputs.end(),
                                    [which](const SheetInput& row) { return row.input == which; });
    if (found == inputs.end())
        throw std::logic_error("a calculation sheet without one of its inputs");
    return *found;
}

QString sheetPlainText(const CalculationSheet& sheet)
{
    const SheetTables tables(sheet);
    QString out;
    appendPlain(out, {tables.title(), {}, tables.titleLines()});
    for (const Table& table :
         {tables.inputs(), tables.material(), tables.actions(), tables.checks()})
        appendPlain(out, table);
    if (sheet.design.basis.vibration)
        appendPlain(out, tables.vibration());
    for (const Table& table : {tables.verdict(), tables.designAids(), tables.spanTable()})
        appendPlain(out, table);
    if (!sheet.spanTable.legend.isEmpty())
        out += plainCell(sheet.spanTable.legend) + QLatin1Char('\n');
    return out;
}

QString sheetHtml(const CalculationSheet& sheet)
{
    return pageHtml(sheet, sheet.sketch.isNull() ? QString() : pngDataUrl(sheet.sketch));
}

std::unique_ptr<QTextDocument> sheetDocument(const CalculationSheet& sheet)
{
    auto document = std::make_unique<QTextDocument>();
    const QUrl sketchUrl(QStringLiteral("sheet:sketch"));
    document->addResource(QTextDocument::ImageResource, sketchUrl, sheet.sketch);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8);
    document->setDefaultFont(font);
    document->setDocumentMargin(0);
    document->setHtml(pageHtml(sheet, sketchUrl.toString()));
    return document;
}

} // namespace ui
