#include "ui/check_working.h"

#include <array>
#include <charconv>
#include <optional>

#include "engine/number_text.h"
#include "ui/design_basis_texts.h"

namespace ui {

using joist::Check;
using joist::JoistDesign;

CheckSymbols checkSymbols(Check check, std::string_view decimalSeparator)
{
    // "1.5" in the shear symbol is a decimal too.
    std::string shear = "\u03C4d = 1" + std::string(decimalSeparator) + "5 V/A";
    switch (check) {
    case Check::u2:
        return {"u inst,Q", "L/300", "mm"};
    case Check::u2Fin:
        return {"u fin,Q", "L/200", "mm"};
    case Check::uNetFin:
        return {"u fin,G + u fin,Q \u2212 u0", "L/200", "mm"};
    case Check::bending:
        return {"\u03C3m,d", "fm,d", "N/mm\u00B2"};
    case Check::shear:
        return {std::move(shear), "fv,d", "N/mm\u00B2"};
    case Check::bearing:
        return {"\u03C3c,90,d", "fc,90,d", "N/mm\u00B2"};
    case Check::f1:
        return {"f1,min", "f1", "Hz"};
    case Check::w:
        return {"w", "a", "mm/kN"};
    case Check::v:
        return {"v", "v,lim", "m/(N s\u00B2)"};
    }
    return {};
}

std::optional<Check> governingCheck(const JoistDesign& checked)
{
    if (checked.unityRatio <= 0)
        return std::nullopt;
    for (const joist::CheckDefinition& check : joist::checkDefinitions) {
        if (joist::inForce(check, checked) && checked.*check.ratio == checked.unityRatio)
            return check.check;
    }
    return std::nullopt;
}

std::string fourDigits(float value, std::string_view decimalSeparator)
{
    if (value == 0)
        return "0";
    std::array<char, 32> buffer;
    auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 4);
    std::string text;
    for (const char* p = buffer.data(); error == std::errc() && p != end; ++p) {
        if (*p == '.')
            text.append(decimalSeparator);
        else
            text.push_back(*p);
    }
    return text;
}

std::string checkWorking(Check check, const JoistDesign& checked, std::string_view decimalSeparator)
{
    const joist::CheckDefinition& definition = joist::definitionOf(check);
    const CheckSymbols symbols = checkSymbols(check, decimalSeparator);
    std::string unit(1, ' ');
    unit += symbols.unit;
    const std::string capacity = deflectionLimitText(check, checked.basis, decimalSeparator)
                                     .value_or(std::string(symbols.capacity));
    return symbols.demand + " = " + fourDigits(checked.*definition.numerator, decimalSeparator) +
           unit + " / " + capacity + " = " +
           fourDigits(checked.*definition.denominator, decimalSeparator) + unit + " = " +
           joist::generalText(checked.*definition.ratio, decimalSeparator);
}

std::string governingCheckText(const JoistDesign& checked, std::string_view decimalSeparator)
{
    const std::optional<Check> governing = governingCheck(checked);
    if (!governing)
        return "No check has a positive ratio";
    return "Governed by " + std::string(joist::definitionOf(*governing).caption) + ": " +
           joist::generalText(checked.unityRatio, decimalSeparator);
}

std::string verdictWorking(const JoistDesign& checked, std::string_view decimalSeparator)
{
    const std::optional<Check> governing = governingCheck(checked);
    std::string text;
    for (const joist::CheckDefinition& check : joist::checkDefinitions) {
        if (joist::isVibrationCheck(check.check)) // listed in their own block
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
    return text;
}

} // namespace ui
