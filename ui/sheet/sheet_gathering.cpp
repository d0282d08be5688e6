#include "ui/sheet/sheet_gathering.h"

#include <algorithm>
#include <array>

#include <QDateTime>

#include "materials/shipped_table.h"
#include "materials/strength_class_sequences.h"
#include "ui/input_table.h"
#include "ui/span_table_texts.h"
#include "ui/strength_class_properties.h"

namespace ui {
namespace {

// The inputs the window's user sets, in the order the user tabs through them;
// the class's own values are listed with its properties.
std::vector<const InputRow*> sheetInputRows()
{
    std::vector<const InputRow*> rows;
    for (const InputRow& row : inputRows())
        if (row.field.empty())
            rows.push_back(&row);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const InputRow* a, const InputRow* b) { return a->focus < b->focus; });
    return rows;
}

} // namespace

CalculationSheet gatherCalculationSheet(const SheetSources& sources)
{
    CalculationSheet sheet;
    sheet.programName = sources.programName;
    sheet.programVersion = QStringLiteral(JOIST_VERSION);
    sheet.created = QDateTime::currentDateTime();
    sheet.decimalSeparator = sources.decimalSeparator;
    for (const InputRow* row : sheetInputRows())
        sheet.inputs.push_back({row->input, QString::fromUtf8(captionWithSymbol(*row)),
                                QString::fromUtf8(sources.inputText(row->input)),
                                QString::fromUtf8(row->unit)});
    sheet.className = sources.className;
    sheet.strengthClass = {{}, QStringLiteral("Strength Class"), sheet.className, {}};

    // The window reads only the properties it uses: the twelve come from the
    // class's row read again, which must still hold what was checked.
    std::array<QString, strengthClassProperties.size()> values;
    materials::StrengthClassConnection row(sources.decimalSeparator);
    for (std::size_t i = 0; i < values.size(); ++i)
        row.bind(std::string(strengthClassProperties[i].field),
                 [&values, i](const std::string& value) { values[i] = QString::fromUtf8(value); });
    try {
        materials::positionOnSelectedClass(row, sources.databasePath, sources.selectedClass);
    } catch (const materials::DatabaseError& error) {
        throw SheetRefused(error.what());
    }
    if (sources.checkedRow) {
        if (const std::optional<materials::DatabaseError> change =
                row.changesSince(*sources.checkedRow))
            throw SheetRefused(change->what());
    }
    const std::optional<joist::TableChoice> shipped =
        materials::shippedTableOfFingerprint(row.fingerprint());
    if (!shipped)
        sheet.dataSource = QString::fromUtf8(materials::modifiedTableNotice);
    else if (*shipped != joist::TableChoice::shipped) {
        sheet.dataSource = QString::fromUtf8(materials::shippedTableOf(*shipped).edition);
        sheet.tableEdition = sheet.dataSource;
    }
    for (std::size_t i = 0; i < values.size(); ++i)
        sheet.properties[i] = {QString::fromUtf8(sheetSymbolOf(strengthClassProperties[i])),
                               values[i], QString::fromUtf8(strengthClassProperties[i].unit)};

    sheet.design = sources.design;
    sheet.ratioTexts = sources.ratioTexts;
    sheet.unityRatioText = sources.unityRatioText;
    sheet.verdictText = sources.verdictText;
    sheet.designAids = sources.designAids;
    sheet.spanTable =
        spanTableTexts(sources.design, sheet.className, listValues(joist::Input::breadth),
                       listValues(joist::Input::depth), listValues(joist::Input::spacing),
                       sources.decimalSeparator);
    sheet.details = sources.details;
    sheet.tableFile = QString::fromUtf8(sources.databasePath.filename().string());
    // The digest of the very bytes the row was read from, not of a second open.
    sheet.tableFingerprint = QString::fromUtf8(row.fingerprint().substr(0, 12));
    return sheet;
}

} // namespace ui
