#include "report/design_aid_lines.h"

#include <cctype>

#include "engine/design_inputs.h"

namespace report {

std::span<const joist::Section> listedSections(joist::Sizes sizes)
{
    static const auto sectionsOf = [](joist::Sizes chosen) {
        joist::DesignBasis basis;
        basis.sizes = chosen;
        return joist::sectionsByArea(listValues(joist::Input::breadth, basis),
                                     listValues(joist::Input::depth, basis));
    };
    static const std::vector<joist::Section> listed = sectionsOf(joist::Sizes::listed);
    static const std::vector<joist::Section> extended = sectionsOf(joist::Sizes::extended);
    return sizes == joist::Sizes::extended ? extended : listed;
}

DesignAids computeDesignAids(const joist::JoistDesign& inputs)
{
    if (const std::optional<std::string_view> problem = joist::loadProblem(inputs))
        return {.noAnswer = problem};
    return {joist::findLongestSpan(inputs),
            joist::findLightestSection(inputs, listedSections(inputs.basis.sizes))};
}

std::string longestSpanLine(const DesignAids& aids, std::string_view decimalSeparator)
{
    return "Longest span that passes: " +
           (aids.noAnswer ? std::string(noAnswerText)
                          : joist::longestSpanText(aids.longestSpan, decimalSeparator));
}

std::string lightestSectionLine(const DesignAids& aids, std::string_view decimalSeparator)
{
    return "Lightest listed section that passes: " +
           (aids.noAnswer ? std::string(noAnswerText)
                          : joist::lightestSectionText(aids.lightestSection, decimalSeparator));
}

std::string loadProblemMessage(std::string_view problem)
{
    std::string message(problem);
    message[0] = char(std::toupper(static_cast<unsigned char>(message[0])));
    return message + ": the results are not a design answer, and the design aids give none.";
}

} // namespace report
