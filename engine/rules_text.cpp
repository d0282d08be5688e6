#include "engine/rules_text.h"

#include "engine/number_text.h"

namespace joist {
namespace {

bool isShear(Check check)
{
    return check == Check::shear || check == Check::pointShear;
}

bool isBearing(Check check)
{
    return check == Check::bearing || check == Check::pointBearing;
}

// Whether a shear or bearing check is made otherwise than as first
// published: shear wherever kcr is in force, bearing under the amended rules.
bool amendedRulesApply(Check check, const JoistDesign& d)
{
    return isShear(check) ? kcrInForce(d) : d.basis.rules == Rules::amended && isBearing(check);
}

std::string fourDigits(float value, std::string_view separator)
{
    return numberText(value, 4, separator);
}

std::string_view materialWords(Material material)
{
    switch (material) {
    case Material::softwood:
        return "softwood";
    case Material::hardwood:
        return "hardwood";
    case Material::glulam:
        return "glulam";
    case Material::unknown:
    case Material::count:
        break;
    }
    return "material not named by the table";
}

} // namespace

std::string_view demandSymbolOf(const CheckDefinition& check, const JoistDesign& d)
{
    if (!amendedRulesApply(check.check, d))
        return check.demandSymbol;
    return isShear(check.check) ? "\u03C4d = 1.5 V/(kcr b h)" : "\u03C3c,90,d = V/(b l ef)";
}

std::string_view capacitySymbolOf(const CheckDefinition& check, const JoistDesign& d)
{
    if (!amendedRulesApply(check.check, d) || isShear(check.check))
        return check.capacitySymbol;
    return "kc,90 fc,90,d";
}

std::string kc90Reason(const JoistDesign& d, std::string_view separator)
{
    const std::string clear = "l1 = " + fourDigits(d.clearSpan, separator) + " mm";
    const std::string twoH = "2h = " + generalText(2 * d.depth, separator) + " mm";
    switch (kc90Case(d)) {
    case Kc90Case::softwood:
    case Kc90Case::glulam:
        return std::string(materialWords(d.material)) + ", " + clear + " \u2265 " + twoH;
    case Kc90Case::shortClearSpan:
        return clear + " < " + twoH;
    case Kc90Case::longBearing:
        return "glulam, bearing length " + generalText(d.bearingLength, separator) + " mm > 400 mm";
    case Kc90Case::notEnhanced:
        break;
    }
    return d.basis.rules == Rules::amended ? std::string(materialWords(d.material))
                                           : std::string("original rules");
}

std::optional<std::string> amendedWorking(Check check, const JoistDesign& d,
                                          std::string_view separator)
{
    if ((check == Check::bending || check == Check::pointBending) &&
        d.basis.rules == Rules::amended)
        return "kh = " + generalText(d.khInForce, separator) +
               (d.material == Material::glulam ? " by 3.3(3), glulam"
                : isSolidTimber(d.material)    ? " by 3.2(3), solid timber"
                                               : " from the list: the table names no material") +
               (d.material == Material::unknown ? "" : "; the kh list is not used");
    if (!amendedRulesApply(check, d))
        return std::nullopt;
    if (isShear(check)) {
        const std::string byTable = kcrByTableNote(d, separator);
        return "b ef = kcr b = " + generalText(d.basis.kcr, separator) + " \u00D7 " +
               generalText(d.breadth, separator) + " = " + fourDigits(d.shearBreadth, separator) +
               " mm" + (byTable.empty() ? "" : "\n" + byTable);
    }
    return "l ef = " + fourDigits(d.bearingLengthEff, separator) +
           " mm (l = " + generalText(d.bearingLength, separator) +
           " mm, a = " + generalText(d.basis.endDistance, separator) + " mm, " +
           "l1 = " + fourDigits(d.clearSpan, separator) +
           " mm)\nkc,90 = " + generalText(d.kc90, separator) + " (" + kc90Reason(d, separator) +
           ")";
}

std::string bearingCellNote(const JoistDesign& inputs, const Section& section, float spacing,
                            const LongestSpan& cell, std::optional<Check> governing,
                            std::string_view separator)
{
    const std::optional<int> failing = firstFailingMillimetres(cell);
    if (!governing || !isBearing(*governing) || inputs.basis.rules != Rules::amended || !failing)
        return {};
    JoistDesign d = inputs;
    d.breadth = section.breadth;
    d.depth = section.depth;
    d.spacing = spacing;
    d.span = spanOfMillimetres(*failing);
    computeSteps(d, UntestedSteps{});
    clearFloatFaults();
    return "; kc,90 = " + generalText(d.kc90, separator) + ": " + kc90Reason(d, separator);
}

std::string_view rulesStatement(const JoistDesign& d)
{
    if (d.basis.rules == Rules::amended)
        return "EN 1995-1-1:2004 with A1:2008 (shear with kcr on b ef = kcr b; bearing with "
               "kc,90 on the effective length l ef; kh by material)";
    return kcrInForce(d) ? "EN 1995-1-1:2004 as first published, without its amendments "
                           "(bearing without kc,90), but shear with kcr on b ef = kcr b, "
                           "which the strength-class table's fv,k presumes"
                         : "EN 1995-1-1:2004 as first published, without its amendments (shear on "
                           "the full width, no kcr; bearing without kc,90)";
}

std::string kcrByTableNote(const JoistDesign& d, std::string_view separator)
{
    if (d.basis.rules == Rules::amended || !d.tablePresumesKcr)
        return {};
    return "kcr = " + generalText(d.basis.kcr, separator) +
           " applies in shear under the original rules too: the strength-class table's fv,k "
           "presumes it (only EN 338:2003's does not)";
}

std::string_view kcrConservativeNote(const JoistDesign& d)
{
    if (d.basis.rules != Rules::amended || d.tablePresumesKcr)
        return {};
    return "the table is EN 338:2003, whose fv,k was set without kcr: taking kcr with it is "
           "conservative";
}

} // namespace joist
