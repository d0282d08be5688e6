#pragma once

// Why an input's text was refused, in the words of the message line.

#include <string>
#include <string_view>

#include "engine/design_inputs.h"

namespace ui {

// One line saying why an input's text was refused, for the message line:
// Span of Joist "4x" is not a number.
std::string inputProblemMessage(joist::Input input, std::string_view text,
                                std::string_view decimalSeparator);

} // namespace ui
