#include "report/span_table_texts.h"

#include "engine/design_aids.h"
#include "engine/number_text.h"
#include "engine/rules_text.h"
#include "io/display_text.h"
#include "report/design_aid_lines.h"
#include "report/design_basis_texts.h"

namespace report {
SpanTableTexts spanTableTexts(const joist::JoistDesign& inputs, const QString& strengthClass,
                              std::span<const float> breadths, std::span<const float> depths,
                              std::span<const float> spacings, std::string_view separator)
{
    const joist::SpanTable spans = joist::computeSpanTable(inputs, breadths, depths, spacings);
    // Under loads that load nothing, no cell is a design answer.
    const std::optional<std::string_view> loadProblem = joist::loadProblem(inputs);
    SpanTableTexts table;
    auto text = [separator](float value) {
        return QString::fromUtf8(joist::generalText(value, separator));
    };
    const joist::DesignBasis& basis = inputs.basis;
    table.caption = QStringLiteral("Span table: %1, dead %2 kN/m\u00B2, live %3 kN/m\u00B2, "
                                   "bearing length %4 mm (longest spans in m)")
                        .arg(io::displayText(strengthClass), text(inputs.deadLoad),
                             text(inputs.liveLoad), text(inputs.bearingLength));
    // The V cells depend on the floor as much as on the joist: the values a
    // flag or choice brings in force are stated with what differs.
    if (basisChangesResults(basis, inputs.tablePresumesKcr))
        table.caption +=
            QStringLiteral("; design basis: ") +
            QString::fromUtf8(basisDescription(basis, inputs.tablePresumesKcr, separator, true));
    for (const float spacing : spans.spacings)
        table.columnHeadings << QString::fromUtf8(joist::generalText(spacing, separator));
    for (std::size_t row = 0; row < spans.sections.size(); ++row) {
        const joist::Section& section = spans.sections[row];
        table.rowHeadings << QString::fromUtf8(joist::sectionText(section, separator));
        if (table.highlightedRow < 0 && section == joist::Section{inputs.breadth, inputs.depth})
            table.highlightedRow = int(row);
        QStringList& cells = table.cells.emplace_back();
        QStringList& marks = table.marks.emplace_back();
        QStringList& tooltips = table.tooltips.emplace_back();
        for (std::size_t column = 0; column < spans.spacings.size(); ++column) {
            const joist::LongestSpan& cell = spans.cell(row, column);
            const std::optional<joist::Check> governing = spans.governedBy(row, column);
            if (loadProblem) {
                cells << QString::fromUtf8(noAnswerText);
                marks << QString();
                tooltips << QString::fromUtf8(loadProblemMessage(*loadProblem));
                continue;
            }
            cells << QString::fromUtf8(joist::spanTableCellText(cell, separator));
            marks << QString::fromUtf8(joist::spanTableMark(governing));
            tooltips << QString::fromUtf8(joist::spanTableCellTooltip(cell, governing, separator) +
                                          joist::bearingCellNote(inputs, section,
                                                                 spans.spacings[column], cell,
                                                                 governing, separator));
        }
    }
    table.legend = QString::fromUtf8(joist::spanTableLegend(inputs));
    for (std::size_t column = 0; column < spans.spacings.size(); ++column) {
        if (table.highlightedColumn < 0 && spans.spacings[column] == inputs.spacing)
            table.highlightedColumn = int(column);
    }
    return table;
}

QString markedCell(const SpanTableTexts& spans, std::size_t row, qsizetype column)
{
    const QString& cell = spans.cells[row][column];
    if (row >= spans.marks.size() || spans.marks[row].value(column).isEmpty())
        return cell;
    return cell + QStringLiteral(" (") + spans.marks[row][column] + QLatin1Char(')');
}

} // namespace report
