#include "engine/stop_reason.h"

namespace joist {
namespace {

std::string noCheck(const std::string& why)
{
    return "No check: " + why;
}

// The inputs that are 0, named as the window names them.
std::string zeroFactors(std::initializer_list<std::pair<float, const char*>> names)
{
    std::string list;
    for (const auto& [value, name] : names) {
        if (value != 0)
            continue;
        if (!list.empty())
            list += ", ";
        list += name;
    }
    return list;
}

// A design strength of 0, and why: its zero factors, or, when none is 0, a
// product too small for single precision.
std::string zeroStrength(const std::string& strength, const std::string& zeroFactorList)
{
    if (zeroFactorList.empty())
        return strength + " is 0, its factors are too small to compute";
    return strength + " is 0 (zero: " + zeroFactorList + ")";
}

std::string zeroDivisor(const JoistDesign& d, int step)
{
    switch (step) {
    case 7:
    case 8:
    case 9:
        return "g m is 0";
    case 13:
    case 14:
        if (d.depth == 0)
            return "the section depth is 0";
        if (d.breadth == 0)
            return "the section width is 0";
        // Neither is 0, but the section's properties underflowed to 0.
        return std::string(step == 13 ? "the section modulus" : "the section area") +
               " is 0, the section is too small to compute";
    case 15:
        return d.bearingLength == 0 ? "the bearing length is 0" : "the section width is 0";
    case 16:
    case 17:
        if (d.e0mean == 0)
            return "E mean of the strength class is 0";
        return "the section's second moment of area is 0";
    default:
        return "a value divides by 0 at step " + std::to_string(step);
    }
}

std::string zeroRatioDenominator(const JoistDesign& d, Check check)
{
    switch (check) {
    case Check::u2:
    case Check::u2Fin:
    case Check::uNetFin:
        return "the span is 0, so there is no deflection limit";
    case Check::bending:
        return zeroStrength("the design bending strength fm,d", zeroFactors({{d.fmk, "fm,k"},
                                                                             {d.kmod, "k mod"},
                                                                             {d.kcrit, "k crit"},
                                                                             {d.kls, "k ls"},
                                                                             {d.kh, "k h"}}));
    case Check::shear:
        return zeroStrength("the design shear strength fv,d",
                            zeroFactors({{d.fvk, "fv,k"}, {d.kls, "k ls"}, {d.kmod, "k mod"}}));
    case Check::bearing:
        return zeroStrength("the design bearing strength fc,90,d",
                            zeroFactors({{d.fc90k, "fc,90,k"}, {d.kmod, "k mod"}}));
    }
    return {};
}

} // namespace

std::string describeStoppedCheck(const CheckOutcome& outcome, const JoistDesign& design)
{
    if (outcome.fault == FaultKind::overflow)
        return noCheck("a result is too large to compute; check the span, the loads and the "
                       "section");
    if (outcome.step == 24 && outcome.ratio)
        return noCheck(zeroRatioDenominator(design, *outcome.ratio));
    if (outcome.fault == FaultKind::divisionByZero)
        return noCheck(zeroDivisor(design, outcome.step));
    return noCheck("the inputs give no valid result at step " + std::to_string(outcome.step));
}

} // namespace joist
