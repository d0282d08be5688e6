#pragma once

// The one rule by which a value of the design basis is accepted, wherever it
// is typed or read: the window, design files and schedules, the settings.
// Each says why it refused in its own words, from the problem found here.

#include <cstddef>
#include <optional>
#include <string_view>

#include "engine/design_basis.h"

namespace joist {

enum class BasisValueProblem {
    none,
    empty,           // no text where a number is needed (a cap may be empty: none)
    notANumber,      // not a plain decimal with the separator given
    beyondPrecision, // a number single precision cannot hold
    notPositive,     // 0 or below where the field needs more
    outOfRange,      // outside the field's range
    notTrueOrFalse,  // a flag's text other than "true" or "false"
    notOffered,      // none of a choice's texts
};

// A text read as a value of one field: the value, or why not.
struct BasisValue
{
    BasisValueProblem problem = BasisValueProblem::none;
    std::optional<float> number; // a number's; a cap's, none when empty
    bool flag = false;
    std::size_t choice = 0; // the index of the choice's text

    bool accepted() const { return problem == BasisValueProblem::none; }
};

// The range a number or cap must lie in, if any.
std::optional<LimitRange> rangeOf(const BasisField& field);

// A number or cap is positive, or 0 where the field allows it, and within
// its range; a cap may be empty for none. A flag is "true" or "false", a
// choice one of its texts.
BasisValue readBasisValue(const BasisField& field, std::string_view text,
                          std::string_view decimalSeparator);

// Puts an accepted value in the field's member.
void setBasisValue(DesignBasis& basis, const BasisField& field, const BasisValue& value);

} // namespace joist
