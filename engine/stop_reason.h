#pragma once

#include <string>

#include "engine/design_check.h"

namespace joist {

// Why a stopped check has no result, in an engineer's words, from where it
// stopped and the inputs that led there: "No check: the span is 0".
std::string describeStoppedCheck(const CheckOutcome& outcome, const JoistDesign& design);

} // namespace joist
