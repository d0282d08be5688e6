#pragma once

// The working behind each ratio and the verdict, as the result labels'
// tooltips show it.

#include <string>
#include <string_view>

#include "engine/design_check.h"
#include "engine/joist_design.h"

namespace report {

// A symbol written with full stops, in the reader's decimal separator.
std::string localSymbol(std::string_view symbol, std::string_view decimalSeparator);

// The working behind one ratio of a completed check, demand over capacity:
// "σc,90,d = 0.805 N/mm² / fc,90,d = 1.354 N/mm² = 0.595". Numbers have at
// most four significant digits; the ratio is the rounded one shown. A check
// under the concentrated load adds its actions.
std::string checkWorking(joist::Check check, const joist::JoistDesign& checked,
                         std::string_view decimalSeparator);

// Which check gives the unity ratio: "Governed by Bearing: 0.595".
std::string governingCheckText(const joist::JoistDesign& checked,
                               std::string_view decimalSeparator);

// The concentrated load's design value and actions, in two lines.
std::string pointLoadWorking(const joist::JoistDesign& checked, std::string_view decimalSeparator);

// The ratios of every check in force but the vibration checks, the governing
// one marked, and the design actions.
std::string verdictWorking(const joist::JoistDesign& checked, std::string_view decimalSeparator);

} // namespace report
