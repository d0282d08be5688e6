#include "ui/design_aid_lines.h"

#include "ui/input_table.h"

namespace ui {

DesignAids computeDesignAids(const joist::JoistDesign& inputs)
{
    static const std::vector<float> breadths = listValues(joist::Input::breadth);
    static const std::vector<float> depths = listValues(joist::Input::depth);
    return {joist::findLongestSpan(inputs), joist::findLightestSection(inputs, breadths, depths)};
}

std::string longestSpanLine(const DesignAids& aids, std::string_view decimalSeparator)
{
    return "Longest span that passes: " +
           joist::longestSpanText(aids.longestSpan, decimalSeparator);
}

std::string lightestSectionLine(const DesignAids& aids, std::string_view decimalSeparator)
{
    return "Lightest listed section that passes: " +
           joist::lightestSectionText(aids.lightestSection, decimalSeparator);
}

} // namespace ui
