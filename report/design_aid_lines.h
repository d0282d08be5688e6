#pragma once

// The design aids of the window's lists, and their lines as the verdict's
// tooltip and the command line show them.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/design_aids.h"

namespace report {

using DesignAids = joist::DesignAids;

// Every listed width with every listed depth, in the order the lightest is searched.
std::span<const joist::Section> listedSections(joist::Sizes sizes = joist::Sizes::listed);

DesignAids computeDesignAids(const joist::JoistDesign& inputs);

// What an aid shows when the loads give no design answer.
inline constexpr std::string_view noAnswerText = "\u2013";

// "The live load is negative: the results are not a design answer, ..."
std::string loadProblemMessage(std::string_view problem);

std::string longestSpanLine(const DesignAids& aids, std::string_view decimalSeparator);
std::string lightestSectionLine(const DesignAids& aids, std::string_view decimalSeparator);

} // namespace report
