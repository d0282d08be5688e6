#pragma once

// How the shear and bearing rules in force are named and worked, in words:
// the same texts in the verdict's working, on the sheet and in the span
// table's tooltips.

#include <optional>
#include <string>
#include <string_view>

#include "engine/check_steps.h"
#include "engine/design_aids.h"
#include "engine/joist_design.h"

namespace joist {

// The demand and capacity symbols of a check under the design's rules (the
// definition's own under the original rules and for the other checks).
// Decimals with a full stop, as the definitions write them.
std::string_view demandSymbolOf(const CheckDefinition& check, const JoistDesign& d);
std::string_view capacitySymbolOf(const CheckDefinition& check, const JoistDesign& d);

// Why kc,90 is what it is, in words: "softwood, l1 = 3950 mm >= 2h = 450 mm".
std::string kc90Reason(const JoistDesign& d, std::string_view decimalSeparator);

// The amended rules' quantities behind a bending, shear or bearing ratio,
// one per line (kh; b ef; l ef, kc,90 and its reason); b ef also under the
// original rules where the table makes kcr apply; none otherwise.
std::optional<std::string> amendedWorking(Check check, const JoistDesign& d,
                                          std::string_view decimalSeparator);

// For a span-table cell governed by bearing under the amended rules, the
// kc,90 case at its first failing span ("; kc,90 = 1.5: ..."); else empty.
std::string bearingCellNote(const JoistDesign& inputs, const Section& section, float spacing,
                            const LongestSpan& cell, std::optional<Check> governing,
                            std::string_view decimalSeparator);

// The rules in force as the sheet's basis states them.
std::string_view rulesStatement(const JoistDesign& d);

// Under the original rules with a table whose fv,k presumes kcr, why shear
// takes kcr all the same, in words; otherwise empty. The working, the sheet
// and the command line say it alike.
std::string kcrByTableNote(const JoistDesign& d, std::string_view decimalSeparator);

// Under the amended rules with EN 338:2003's table, that kcr with its fv,k
// errs on the safe side; otherwise empty.
std::string_view kcrConservativeNote(const JoistDesign& d);

} // namespace joist
