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

// A value of the basis as people read it: "360", "12.5 mm", "none" for no
// cap, "yes" or "no" for a flag, a choice's caption.
std::string basisValueText(const joist::BasisField& field, const joist::DesignBasis& basis,
                           std::string_view decimalSeparator);

// "Floor width B: 4.5 m": a field's caption and value.
std::string basisStatement(const joist::BasisField& field, const joist::DesignBasis& basis,
                           std::string_view decimalSeparator);

// Whether a field holds other than its default (the damping ratio: its rule
// set's).
bool differsFromDefault(const joist::BasisField& field, const joist::DesignBasis& basis);

// Every field in force, stated, box by box in the Design Basis window's
// order: the sheet's statement of the basis.
std::vector<std::string> basisStatements(const joist::DesignBasis& basis, bool tablePresumesKcr,
                                         std::string_view decimalSeparator);

// Whether the basis changes any result: a field in force holds other than
// its default.
bool basisChangesResults(const joist::DesignBasis& basis, bool tablePresumesKcr);

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

// The fields in force that differ from their defaults, stated, "; " between
// them, as basisStatements orders them ("u net,fin limit, span divisor:
// 360; Check floor vibration: yes"); with `whatTheyBring` also the fields
// in force only through a flag or choice the basis sets, whose values a
// reader of what differs cannot know (the floor of a vibration check).
// "the defaults" when nothing differs.
std::string basisDescription(const joist::DesignBasis& basis, bool tablePresumesKcr,
                             std::string_view decimalSeparator, bool whatTheyBring = false);

// "Design basis: ..." when the basis changes results, else empty: the
// verdict tooltip's first line and a line of --check.
std::string basisLine(const joist::DesignBasis& basis, bool tablePresumesKcr,
                      std::string_view decimalSeparator);

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
