#include "report/design_basis_texts.h"

#include <algorithm>
#include <utility>

#include "engine/number_text.h"
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

// The fields in force, box by box in the window's order, each box's in the
// table's.
std::vector<const joist::BasisField*> fieldsInForce(const joist::DesignBasis& basis,
                                                    bool tablePresumesKcr)
{
    std::vector<const joist::BasisField*> fields;
    for (const joist::BasisField& field : joist::basisFields)
        if (joist::inForce(field, basis, tablePresumesKcr))
            fields.push_back(&field);
    std::stable_sort(fields.begin(), fields.end(),
                     [](const auto* a, const auto* b) { return a->group < b->group; });
    return fields;
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

std::string basisValueText(const joist::BasisField& field, const joist::DesignBasis& basis,
                           std::string_view decimalSeparator)
{
    const auto withUnit = [&](float value) {
        std::string text = joist::generalText(value, decimalSeparator);
        return field.unit.empty() ? text : text + " " + std::string(field.unit);
    };
    if (field.number)
        return withUnit(basis.*field.number);
    if (field.cap)
        return basis.*field.cap ? withUnit(*(basis.*field.cap)) : "none";
    if (field.flag)
        return basis.*field.flag ? "yes" : "no";
    return std::string(field.choice->captions[field.choice->get(basis)]);
}

std::string basisStatement(const joist::BasisField& field, const joist::DesignBasis& basis,
                           std::string_view decimalSeparator)
{
    return std::string(field.caption) + ": " + basisValueText(field, basis, decimalSeparator);
}

bool differsFromDefault(const joist::BasisField& field, const joist::DesignBasis& basis)
{
    const joist::DesignBasis defaults;
    if (field.number)
        return basis.*field.number != joist::defaultOf(field.number, basis);
    if (field.cap)
        return basis.*field.cap != defaults.*field.cap;
    if (field.flag)
        return basis.*field.flag != defaults.*field.flag;
    return field.choice->get(basis) != field.choice->get(defaults);
}

std::vector<std::string> basisStatements(const joist::DesignBasis& basis, bool tablePresumesKcr,
                                         std::string_view decimalSeparator)
{
    std::vector<std::string> statements;
    for (const joist::BasisField* field : fieldsInForce(basis, tablePresumesKcr))
        statements.push_back(basisStatement(*field, basis, decimalSeparator));
    return statements;
}

bool basisChangesResults(const joist::DesignBasis& basis, bool tablePresumesKcr)
{
    const std::vector<const joist::BasisField*> fields = fieldsInForce(basis, tablePresumesKcr);
    return std::any_of(fields.begin(), fields.end(),
                       [&](const auto* field) { return differsFromDefault(*field, basis); });
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

std::string basisDescription(const joist::DesignBasis& basis, bool tablePresumesKcr,
                             std::string_view decimalSeparator, bool whatTheyBring)
{
    std::string text;
    for (const joist::BasisField* field : fieldsInForce(basis, tablePresumesKcr)) {
        const bool brought = field->when.flag || field->when.choice;
        if (!differsFromDefault(*field, basis) && !(whatTheyBring && brought))
            continue;
        if (!text.empty())
            text += "; ";
        text += basisStatement(*field, basis, decimalSeparator);
    }
    return text.empty() ? "the defaults" : text;
}

std::string basisLine(const joist::DesignBasis& basis, bool tablePresumesKcr,
                      std::string_view decimalSeparator)
{
    if (!basisChangesResults(basis, tablePresumesKcr))
        return {};
    return "Design basis: " + basisDescription(basis, tablePresumesKcr, decimalSeparator);
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
