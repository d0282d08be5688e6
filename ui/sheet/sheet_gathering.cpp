#include "ui/sheet/sheet_gathering.h"

#include <algorithm>
#include <array>

#include <QDateTime>

#include "engine/design_inputs.h"
#include "materials/shipped_table.h"
#include "materials/strength_class_sequences.h"
#include "report/span_table_texts.h"
#include "report/strength_class_properties.h"

namespace ui {

CalculationSheet gatherCalculationSheet(const SheetSources& sources)
{
    CalculationSheet sheet;
    sheet.programName = sources.programName;
    sheet.programVersion = QStringLiteral(JOIST_VERSION);
    sheet.created = QDateTime::currentDateTime();
    sheet.decimalSeparator = sources.decimalSeparator;
    for (const joist::Input input : sources.inputOrder) {
        const joist::InputFacts& facts = joist::factsOf(input);
        sheet.inputs.push_back({input, QString::fromUtf8(captionWithSymbol(facts)),
                                QString::fromUtf8(sources.inputText(input)),
                                QString::fromUtf8(facts.unit)});
    }
    sheet.className = sources.className;
    sheet.strengthClass = {{}, QStringLiteral("Strength Class"), sheet.className, {}};

    // The window reads only the properties it uses: the twelve come from the
    // class's row read again, which must still hold what was checked.
    std::array<QString, report::strengthClassProperties.size()> values;
    materials::StrengthClassConnection row(sources.decimalSeparator);
    for (std::size_t i = 0; i < values.size(); ++i)
        row.bind(std::string(report::strengthClassProperties[i].field),
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
        sheet.dataSource = QString::fromStdString(materials::modifiedTableNotice(row.path()));
    else if (*shipped != joist::TableChoice::shipped) {
        sheet.dataSource = QString::fromUtf8(materials::shippedTableOf(*shipped).edition);
        sheet.tableEdition = sheet.dataSource;
    }
    for (std::size_t i = 0; i < values.size(); ++i)
        sheet.properties[i] = {
            QString::fromUtf8(report::sheetSymbolOf(report::strengthClassProperties[i])), values[i],
            QString::fromUtf8(report::strengthClassProperties[i].unit)};

    sheet.design = sources.design;
    sheet.ratioTexts = sources.ratioTexts;
    sheet.unityRatioText = sources.unityRatioText;
    sheet.verdictText = sources.verdictText;
    sheet.designAids = sources.designAids;
    sheet.spanTable = report::spanTableTexts(
        sources.design, sheet.className, listValues(joist::Input::breadth, sources.design.basis),
        listValues(joist::Input::depth, sources.design.basis), listValues(joist::Input::spacing),
        sources.decimalSeparator);
    sheet.details = sources.details;
    sheet.tableFile = QString::fromUtf8(sources.databasePath.filename().string());
    // The digest of the very bytes the row was read from, not of a second open.
    sheet.tableFingerprint = QString::fromUtf8(row.fingerprint().substr(0, 12));
    return sheet;
}

} // namespace ui
