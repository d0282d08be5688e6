#pragma once

// The design aids of the window's lists, and their lines as the verdict's
// tooltip and the command line show them.

#include <optional>
#include <string>
#include <string_view>

#include "engine/design_aids.h"

namespace ui {

struct DesignAids
{
    joist::LongestSpan longestSpan;
    std::optional<joist::Section> lightestSection; // among the listed widths and depths
};

DesignAids computeDesignAids(const joist::JoistDesign& inputs);

std::string longestSpanLine(const DesignAids& aids, std::string_view decimalSeparator);
std::string lightestSectionLine(const DesignAids& aids, std::string_view decimalSeparator);

} // namespace ui
