#include "report/check_working.h"

#include <optional>

#include "engine/number_text.h"
#include "engine/rules_text.h"
#include "report/design_basis_texts.h"

namespace report {

using joist::Check;
using joist::JoistDesign;

namespace {

std::string fourDigits(float value, std::string_view decimalSeparator)
{
    return joist::numberText(value, 4, decimalSeparator);
}

} // namespace

std::string localSymbol(std::string_view symbol, std::string_view decimalSeparator)
{
    std::string text(symbol);
    for (std::size_t at = text.find('.'); at != std::string::npos;
         at = text.find('.', at + decimalSeparator.size()))
        text.replace(at, 1, decimalSeparator);
    return text;
}

std::string checkWorking(Check check, const JoistDesign& checked, std::string_view decimalSeparator)
{
    const joist::CheckDefinition& definition = joist::definitionOf(check);
    std::string unit(1, ' ');
    unit += definition.unit;
    const std::string capacity =
        deflectionLimitText(check, checked.basis, decimalSeparator)
            .value_or(localSymbol(joist::capacitySymbolOf(definition, checked), decimalSeparator));
    const std::optional<std::string> amended =
        joist::amendedWorking(check, checked, decimalSeparator);
    return localSymbol(joist::demandSymbolOf(definition, checked), decimalSeparator) + " = " +
           fourDigits(checked.*definition.numerator, decimalSeparator) + unit + " / " + capacity +
           " = " + fourDigits(checked.*definition.denominator, decimalSeparator) + unit + " = " +
           joist::generalText(checked.*definition.ratio, decimalSeparator) +
           (amended ? "\n" + *amended : std::string()) +
           (definition.kind == joist::CheckKind::pointLoad
                ? "\n" + pointLoadWorking(checked, decimalSeparator)
                : std::string());
}

std::string pointLoadWorking(const JoistDesign& checked, std::string_view decimalSeparator)
{
    const joist::DesignBasis& basis = checked.basis;
    return "Point load Fd = " + joist::generalText(1.5f, decimalSeparator) + " \u00D7 " +
           joist::generalText(basis.pointShare, decimalSeparator) + " \u00D7 Qk " +
           joist::generalText(basis.pointLoadQk, decimalSeparator) +
           " kN = " + fourDigits(checked.pointDesignLoad, decimalSeparator) +
           " kN, without the distributed imposed load\nWith it at mid-span M = " +
           fourDigits(checked.pointMoment, decimalSeparator) +
           " kNm; at a support V = " + fourDigits(checked.pointShear, decimalSeparator) + " kN";
}

std::string governingCheckText(const JoistDesign& checked, std::string_view decimalSeparator)
{
    const std::optional<Check> governing = joist::governingCheck(checked);
    if (!governing)
        return "No check has a positive ratio";
    return "Governed by " + std::string(joist::definitionOf(*governing).caption) + ": " +
           joist::generalText(checked.unityRatio, decimalSeparator);
}

std::string verdictWorking(const JoistDesign& checked, std::string_view decimalSeparator)
{
    const std::optional<Check> governing = joist::governingCheck(checked);
    std::string text;
    for (const joist::CheckDefinition& check : joist::checkDefinitions) {
        // The vibration checks are listed in their own block.
        if (joist::isVibrationCheck(check.check) || !joist::inForce(check, checked))
            continue;
        text += std::string(check.caption) + ": " +
                joist::generalText(checked.*check.ratio, decimalSeparator);
        if (governing == check.check)
            text += "  \u2190 governs";
        text += '\n';
    }
    text += "Design load w = " + fourDigits(checked.designLoad, decimalSeparator) + " kN/m\n";
    text += "Design moment M = " + fourDigits(checked.designMoment, decimalSeparator) + " kNm\n";
    text += "Design shear V = " + fourDigits(checked.designShear, decimalSeparator) + " kN";
    if (checked.basis.pointLoad)
        text += "\n" + pointLoadWorking(checked, decimalSeparator);
    return text;
}

} // namespace report
