#include "report/design_basis_texts.h"

#include <utility>

#include "engine/number_text.h"
#include "engine/rules_text.h"
#include "report/check_working.h"

namespace report {
namespace {

struct LimitOfBasis
{
    joist::Check check;
    float joist::DesignBasis::*divisor;
    std::optional<float> joist::DesignBasis::*cap;
};

constexpr LimitOfBasis limitsOfBasis[] = {
    {joist::Check::u2, &joist::DesignBasis::u2Divisor, &joist::DesignBasis::u2Cap},
    {joist::Check::u2Fin, &joist::DesignBasis::u2FinDivisor, &joist::DesignBasis::u2FinCap},
    {joist::Check::uNetFin, &joist::DesignBasis::uNetFinDivisor, &joist::DesignBasis::uNetFinCap},
};

bool limitChanged(const LimitOfBasis& limit, const joist::DesignBasis& basis)
{
    const joist::DesignBasis defaults;
    return basis.*limit.divisor != defaults.*limit.divisor || (basis.*limit.cap).has_value();
}

// The kinds of check the basis may put in force, each once, in check order,
// with whether it does.
std::vector<std::pair<joist::CheckKind, bool>> optionalKinds(const joist::DesignBasis& basis)
{
    std::vector<std::pair<joist::CheckKind, bool>> kinds;
    for (const joist::CheckDefinition& check : joist::checkDefinitions) {
        if (!joist::flagOfKind(check.kind) || (!kinds.empty() && kinds.back().first == check.kind))
            continue;
        kinds.emplace_back(check.kind, joist::inForce(check, basis));
    }
    return kinds;
}

} // namespace

std::vector<std::string> checkedByChoiceLines(const joist::DesignBasis& basis)
{
    std::vector<std::string> lines;
    for (const auto& [kind, checked] : optionalKinds(basis)) {
        if (checked)
            lines.push_back(std::string(optionalCheckName(kind)) + " checked (design basis)");
    }
    return lines;
}

std::string notCheckedLine(const joist::DesignBasis& basis)
{
    std::string line = "not checked: ";
    for (const auto& [kind, checked] : optionalKinds(basis)) {
        if (!checked)
            line += std::string(optionalCheckName(kind)) + " (not chosen in the design basis), ";
    }
    return line + "the supporting member, notches and holes, lateral restraint, shear "
                  "deformation (the deflections are from bending alone), fire";
}

bool basisChangesResults(const joist::DesignBasis& basis)
{
    for (const LimitOfBasis& limit : limitsOfBasis) {
        if (limitChanged(limit, basis))
            return true;
    }
    return basis.vibration || basis.pointLoad || basis.partitions != 0 ||
           !joist::rulesDescription(basis, ".").empty();
}

std::string limitText(float divisor, const std::optional<float>& cap,
                      std::string_view decimalSeparator)
{
    std::string text = "L/" + joist::generalText(divisor, decimalSeparator);
    if (cap)
        text += ", at most " + joist::generalText(*cap, decimalSeparator) + " mm";
    return text;
}

std::string rangeText(const joist::LimitRange& range, std::string_view unit,
                      std::string_view decimalSeparator)
{
    std::string text = "from " + joist::generalText(range.least, decimalSeparator) + " to " +
                       joist::generalText(range.most, decimalSeparator);
    if (!unit.empty())
        text += " " + std::string(unit);
    return text;
}

std::optional<std::string> deflectionLimitText(joist::Check check, const joist::DesignBasis& basis,
                                               std::string_view decimalSeparator)
{
    for (const LimitOfBasis& limit : limitsOfBasis) {
        if (limit.check == check)
            return limitText(basis.*limit.divisor, basis.*limit.cap, decimalSeparator);
    }
    return std::nullopt;
}

std::string vibrationRulesText(const joist::DesignBasis& basis, std::string_view decimalSeparator)
{
    const std::string damping = ", \u03B6 = " + joist::generalText(basis.damping, decimalSeparator);
    if (basis.vibrationRules == joist::VibrationRules::ukNa)
        return "UK National Annex rules, a and b by the span" + damping;
    return "EN 1995-1-1 rules, a = " + joist::generalText(basis.vibrationA, decimalSeparator) +
           " mm/kN, b = " + joist::generalText(basis.vibrationB, decimalSeparator) + damping;
}

std::string basisDescription(const joist::DesignBasis& basis, std::string_view decimalSeparator)
{
    std::string text;
    for (const LimitOfBasis& limit : limitsOfBasis) {
        if (!limitChanged(limit, basis))
            continue;
        if (!text.empty())
            text += "; ";
        text += std::string(joist::definitionOf(limit.check).caption) + " limit " +
                limitText(basis.*limit.divisor, basis.*limit.cap, decimalSeparator);
    }
    if (basis.partitions != 0)
        text += (text.empty() ? "" : "; ") + std::string("movable partitions ") +
                joist::generalText(basis.partitions, decimalSeparator) +
                " kN/m\u00B2 on the imposed load";
    if (basis.pointLoad)
        text += (text.empty() ? "" : "; ") + std::string("concentrated load Qk ") +
                joist::generalText(basis.pointLoadQk, decimalSeparator) + " kN, share " +
                joist::generalText(basis.pointShare, decimalSeparator) + " on one joist, checked";
    if (basis.vibration)
        text += (text.empty() ? "" : "; ") + std::string("floor vibration checked, ") +
                vibrationRulesText(basis, decimalSeparator);
    if (const std::string rules = joist::rulesDescription(basis, decimalSeparator); !rules.empty())
        text += (text.empty() ? "" : "; ") + rules;
    return text.empty() ? "default limits" : text;
}

std::string basisLine(const joist::DesignBasis& basis, std::string_view decimalSeparator)
{
    if (!basisChangesResults(basis))
        return {};
    return "Design basis: " + basisDescription(basis, decimalSeparator);
}

bool belowEightHertz(const joist::JoistDesign& checked)
{
    return checked.basis.vibration && checked.f1 < checked.f1Min;
}

std::string lowFrequencyNote(std::string_view f1Text)
{
    return "f1 = " + std::string(f1Text) +
           " Hz is below 8 Hz: EN 1995-1-1 7.3.3 requires a special investigation of this "
           "floor, and w and v are not a valid check";
}

std::string vibrationBlock(const joist::JoistDesign& checked, std::string_view decimalSeparator)
{
    const std::optional<joist::Check> governing = governingCheck(checked);
    auto ratio = [&](joist::Check check) {
        std::string text =
            ": " + joist::generalText(checked.*joist::definitionOf(check).ratio, decimalSeparator);
        if (governing == check)
            text += "  \u2190 governs";
        return text;
    };
    auto digits = [&](float value) { return joist::numberText(value, 4, decimalSeparator); };
    return "Floor vibration\n"
           "f1 = " +
           digits(checked.f1) + " Hz, at least " + digits(checked.f1Min) + " Hz" +
           ratio(joist::Check::f1) +
           "\n"
           "w = " +
           digits(checked.w) + " mm/kN, a = " + digits(checked.a) + " mm/kN" +
           ratio(joist::Check::w) +
           "\n"
           "v = " +
           digits(checked.v) + " m/(N s\u00B2), limit " + digits(checked.vLimit) +
           " m/(N s\u00B2) with b = " + digits(checked.b) +
           ", \u03B6 = " + joist::generalText(checked.basis.damping, decimalSeparator) +
           ratio(joist::Check::v);
}

} // namespace report
