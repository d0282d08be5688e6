#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/design_check.h"
#include "engine/joist_design.h"

namespace ui {

// How one check's working is written: "σc,90,d" over "fc,90,d", in "N/mm²".
struct CheckSymbols
{
    std::string demand;        // symbol of what the load causes
    std::string_view capacity; // symbol of what the joist allows
    std::string_view unit;
};
CheckSymbols checkSymbols(joist::Check check, std::string_view decimalSeparator);

// The check whose ratio is the unity ratio: the first equal one, as the
// verdict names it. None when no ratio is positive.
std::optional<joist::Check> governingCheck(const joist::JoistDesign& checked);

// The working behind one ratio of a completed check, demand over capacity:
// "σc,90,d = 0.805 N/mm² / fc,90,d = 1.354 N/mm² = 0.595". Numbers have at
// most four significant digits; the ratio is the rounded one shown.
std::string checkWorking(joist::Check check, const joist::JoistDesign& checked,
                         std::string_view decimalSeparator);

// Which check gives the unity ratio: "Governed by Bearing: 0.595".
std::string governingCheckText(const joist::JoistDesign& checked,
                               std::string_view decimalSeparator);

// All six ratios, the governing one marked, and the design actions.
std::string verdictWorking(const joist::JoistDesign& checked, std::string_view decimalSeparator);

// A number with at most four significant digits, no trailing zeros.
std::string fourDigits(float value, std::string_view decimalSeparator);

} // namespace ui
