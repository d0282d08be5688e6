#pragma once

// What a calculation sheet holds, taken from the window.

#include <array>
#include <string>
#include <vector>

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "document/sheet_details.h"
#include "engine/design_check.h"
#include "engine/design_inputs.h"
#include "engine/joist_design.h"
#include "report/span_table_texts.h"

namespace ui {

// One input as the window shows it: "Span of Joist", "4", "m".
struct SheetInput
{
    joist::Input input = joist::Input::span; // none for the strength class
    QString caption;
    QString text;
    QString unit;
};

// One stored property of the strength class: "fm,k", "16", "N/mm2".
struct SheetProperty
{
    QString symbol;
    QString value;
    QString unit;
};

// Everything a calculation sheet shows, taken from a window whose results are
// current. Texts are exactly what the screen shows; numbers the screen does
// not show come from `design`.
struct CalculationSheet
{
    QString programName;
    QString programVersion;
    QDateTime created;
    std::string decimalSeparator = ".";

    SheetInput strengthClass;
    std::vector<SheetInput> inputs; // all but the class's values, in the window's focus order
    // The input's row; one every sheet from the window has.
    const SheetInput& input(joist::Input which) const;

    QString className;
    std::array<SheetProperty, 12> properties;
    QString dataSource = QStringLiteral("EN 338:2003, Table 1");

    // A completed check: section properties, actions, demands, capacities,
    // limits, and which check governs.
    joist::JoistDesign design;
    // In check order, as their labels show them; the vibration ratios as the
    // design basis window shows them.
    std::vector<QString> ratioTexts;
    QString unityRatioText;
    QString verdictText;

    QStringList designAids; // the two lines of the verdict tooltip
    report::SpanTableTexts spanTable;
    document::SheetDetails details; // the job header; empty fields are left blank
    QString tableFile;              // the strength-class table's file name
    QString tableEdition;           // the standard it holds, for a shipped table
    QString tableFingerprint;       // its SHA-256, first 12 hex digits
};

} // namespace ui
