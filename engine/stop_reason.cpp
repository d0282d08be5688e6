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
        return {};
    }
}

// The inputs each step is computed from, as the window names them.
std::string stepInputs(int step)
{
    switch (step) {
    case 1:
        return "the density, the section width and the section depth";
    case 2:
        return "the dead load and the joist spacing";
    case 3:
        return "the live load and the joist spacing";
    case 4:
        return "the loads, the joist spacing and the self weight";
    case 5:
    case 6:
        return "the span and the loads";
    case 7:
        return "fm,k, k mod, k crit, k ls, k h and g m";
    case 8:
        return "fv,k, k ls, k mod and g m";
    case 9:
        return "fc,90,k, k mod and g m";
    case 10:
    case 11:
    case 12:
        return "the section width and depth";
    case 13:
    case 14:
        return "the span, the loads and the section";
    case 15:
        return "the span, the loads, the bearing length and the section width";
    case 16:
    case 17:
        return "the span, the loads, E mean and the section";
    case 18:
        return "k mod gk and the deflection from permanent load";
    case 19:
        return "k mod qk and the deflection from live load";
    case 20:
        return "the deflections and the initial camber";
    case 25:
        return "the dead load, the density, the section and the joist spacing (floor mass)";
    case 26:
    case 27:
        return "E mean, the section and the joist spacing (floor stiffness)";
    case 28:
        return "the deck thickness and deck modulus of the design basis";
    case 29:
        return "the span, the floor mass and the floor stiffness (f1)";
    case 30:
        return "the deck of the design basis and the joist spacing (k dist)";
    case 31:
        return "the span, k amp of the design basis, E mean and the section (w)";
    case 32:
    case 33:
        return "the span (limit for w)";
    case 34:
        return "the floor width of the design basis, the span, f1 and the deck (n40)";
    case 35:
        return "the floor width of the design basis, the span and the floor mass (v)";
    case 36:
        return "the damping ratio of the design basis, f1 and the span (limit for v)";
    default:
        return "the span";
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
    case Check::f1:
        return "the floor's fundamental frequency f1 is 0; check the span, the loads and E mean";
    case Check::w:
        return "the limit a for the deflection w is 0; check the span";
    case Check::v:
        return "the limit for the impulse velocity v is 0; check the damping ratio of the "
               "design basis and the span";
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
    // 0/0 at a division is a zero divisor too: name the input that is 0.
    if (std::string divisor = zeroDivisor(design, outcome.step); !divisor.empty())
        return noCheck(divisor);
    return noCheck(stepInputs(outcome.step) + " give no valid result");
}

} // namespace joist
