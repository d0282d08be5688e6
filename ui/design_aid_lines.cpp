#include "ui/design_aid_lines.h"

#include "ui/input_table.h"

namespace ui {

std::span<const joist::Section> listedSections()
{
    static const std::vector<joist::Section> sections =
        joist::sectionsByArea(listValues(joist::Input::breadth), listValues(joist::Input::depth));
    return sections;
}

DesignAids computeDesignAids(const joist::JoistDesign& inputs)
{
    return {joist::findLongestSpan(inputs), joist::findLightestSection(inputs, listedSections())};
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
