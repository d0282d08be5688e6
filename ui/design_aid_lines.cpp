#include "ui/design_aid_lines.h"

#include "ui/input_table.h"

namespace ui {

DesignAids computeDesignAids(const joist::JoistDesign& inputs)
{
    static const std::vector<joist::Section> sections =
        joist::sectionsByArea(listValues(joist::Input::breadth), listValues(joist::Input::depth));
    return {joist::findLongestSpan(inputs), joist::findLightestSection(inputs, sections)};
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
