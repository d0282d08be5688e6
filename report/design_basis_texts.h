#pragma once

// How the design basis reads in the verdict's tooltip, the working of the
// deflection checks, the span table's caption and the calculation sheet.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/design_basis.h"
#include "engine/design_check.h"
#include "engine/joist_design.h"

namespace report {

inline constexpr std::string_view vibrationNotCheckedLine =
    "Floor vibration not checked (Design Basis..., Ctrl+D)";

// What a kind of check the design basis may put in force checks, in words;
// empty for the kinds always in force.
constexpr std::string_view optionalCheckName(joist::CheckKind kind)
{
    switch (kind) {
    case joist::CheckKind::vibration:
        return "floor vibration";
    case joist::CheckKind::pointLoad:
        return "concentrated imposed load";
    case joist::CheckKind::deflection:
    case joist::CheckKind::strength:
        break;
    }
    return {};
}

// "floor vibration checked (design basis)": one line for each kind of check
// the basis puts in force, in check order.
std::vector<std::string> checkedByChoiceLines(const joist::DesignBasis& basis);

// "not checked: concentrated imposed load (not chosen in the design basis),
// the supporting member, ...": the kinds of check the basis leaves out, then
// what the program never checks.
std::string notCheckedLine(const joist::DesignBasis& basis);

// Whether the basis changes any result: a limit other than the default, or
// vibration checked. The floor's inputs alone change nothing while it is not.
bool basisChangesResults(const joist::DesignBasis& basis);

// "L/300", or "L/360, at most 12 mm" when a cap is set.
std::string limitText(float divisor, const std::optional<float>& cap,
                      std::string_view decimalSeparator);

// "from 1 to 100000", "from 0.1 to 10000 mm": the values a divisor or cap
// may take.
std::string rangeText(const joist::LimitRange& range, std::string_view unit,
                      std::string_view decimalSeparator);

// The limit of one deflection check under the basis; other checks: none.
std::optional<std::string> deflectionLimitText(joist::Check check, const joist::DesignBasis& basis,
                                               std::string_view decimalSeparator);

// The vibration rules in force and their values: "UK National Annex rules,
// a and b by the span, ζ = 0.02", or under EN 1995-1-1's "EN 1995-1-1
// rules, a = 1.5 mm/kN, b = 100, ζ = 0.01".
std::string vibrationRulesText(const joist::DesignBasis& basis, std::string_view decimalSeparator);

// "u net,fin limit L/300; floor vibration checked": what differs from the
// defaults, or "default limits" when nothing changes a result.
std::string basisDescription(const joist::DesignBasis& basis, std::string_view decimalSeparator);

// The tooltip's first line when the basis changes results, else empty.
std::string basisLine(const joist::DesignBasis& basis, std::string_view decimalSeparator);

// Whether 7.3.3 leaves w and v of a completed check to a special
// investigation: vibration checked and f1 below 8 Hz.
bool belowEightHertz(const joist::JoistDesign& checked);

// What the results then do not settle, with f1 written as its reader writes
// numbers: "f1 = 5.144 Hz is below 8 Hz: EN 1995-1-1 7.3.3 requires a
// special investigation of this floor, and w and v are not a valid check".
std::string lowFrequencyNote(std::string_view f1Text);

// The "Floor vibration" block of a check made with vibration: f1, w against
// a and v against its limit, each with its ratio, four significant digits.
std::string vibrationBlock(const joist::JoistDesign& checked, std::string_view decimalSeparator);

} // namespace report
