#pragma once

// Why a stopped check has no result, as a value that names inputs by their
// enum, and its wording, in which the caller's names for the inputs stand.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/design_check.h"
#include "engine/design_inputs.h"

namespace joist {

struct StopReason
{
    enum class Kind {
        tooLarge,          // a result overflowed; `inputs` are worth checking
        inputIsZero,       // the one input of `inputs` is 0
        noDeflectionLimit, // the span is 0
        zeroStrength,      // `quantity` is 0; `inputs` are its factors that are 0
        strengthTooSmall,  // `quantity` is 0, though none of its factors is
        sectionTooSmall,   // `quantity` is 0, though neither dimension is
        noValidResult,     // `inputs` (and `basis`) give no valid result
        quantityIsZero,    // `quantity` is 0; `inputs` (and `basis`) are worth checking
        limitOutOfRange,   // `basis` names a divisor or cap outside its range
    };
    Kind kind = Kind::noValidResult;
    std::vector<Input> inputs;
    std::string_view quantity; // "the design bending strength fm,d", "the section modulus"
    std::string_view basis;    // values of the design basis involved, in words
};

// The inputs a step of the check is computed from (steps 1 to
// lastStep, the ratios at 24 aside), or nothing for a step not described.
std::optional<std::vector<Input>> inputsOfStep(int step);

// From where the check stopped and the inputs that led there.
StopReason stopReason(const CheckOutcome& outcome, const JoistDesign& design);

// "Span of Joist is 0, so there is no deflection limit", each input in the
// words `name` gives it.
std::string describeStop(const StopReason& reason, const std::function<std::string(Input)>& name);

} // namespace joist
