#pragma once

// Gathers a calculation sheet from what the main window shows: its input
// texts, the class row read again, and the results of the completed check.

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "document/sheet_details.h"
#include "engine/design_inputs.h"
#include "engine/joist_design.h"
#include "materials/strength_class_connection.h"
#include "ui/sheet/calculation_sheet.h"

namespace ui {

// Why no calculation sheet can be made now, in the user's words.
class SheetRefused : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// What the window hands over: its texts as shown, and where the checked
// class's row lies so its twelve properties can be read again.
struct SheetSources
{
    QString programName;
    std::string decimalSeparator;
    std::vector<joist::Input> inputOrder; // the user's inputs, as the sheet lists them
    std::function<std::string(joist::Input)> inputText;
    QString className;
    std::filesystem::path databasePath;
    int selectedClass = -1;
    const materials::StrengthClassConnection* checkedRow = nullptr; // what the check read
    joist::JoistDesign design;                                      // the completed check
    std::vector<QString> ratioTexts;                                // in check order
    QString unityRatioText;
    QString verdictText;
    QStringList designAids;
    document::SheetDetails details;
};

// Throws SheetRefused when the class's row cannot be read again or no longer
// holds what was checked.
CalculationSheet gatherCalculationSheet(const SheetSources& sources);

} // namespace ui
