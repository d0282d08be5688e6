#include "engine/stop_reason.h"

#include <algorithm>
#include <initializer_list>

namespace joist {
namespace {

using Kind = StopReason::Kind;

std::vector<Input> zeroAmong(const JoistDesign& d, std::initializer_list<Input> inputs)
{
    std::vector<Input> zero;
    for (const Input input : inputs)
        if (d.*definitionOf(input).member == 0)
            zero.push_back(input);
    return zero;
}

StopReason strength(const JoistDesign& d, std::string_view quantity,
                    std::initializer_list<Input> factors)
{
    std::vector<Input> zero = zeroAmong(d, factors);
    const Kind kind = zero.empty() ? Kind::strengthTooSmall : Kind::zeroStrength;
    return {kind, std::move(zero), quantity, {}};
}

StopReason zeroInput(Input input)
{
    return {Kind::inputIsZero, {input}, {}, {}};
}

// 0/0 at a division is a zero divisor too: the input that is 0, when the
// step divides by one.
std::optional<StopReason> zeroDivisor(const JoistDesign& d, int step)
{
    switch (step) {
    case 7:
    case 8:
    case 9:
        return zeroInput(Input::gammaM);
    case 13:
    case 14:
        if (d.depth == 0)
            return zeroInput(Input::depth);
        if (d.breadth == 0)
            return zeroInput(Input::breadth);
        // Neither is 0, but the section's properties underflowed to 0.
        return StopReason{Kind::sectionTooSmall,
                          {Input::breadth, Input::depth},
                          step == 13 ? "the section modulus" : "the section area",
                          {}};
    case 15:
        return zeroInput(d.bearingLength == 0 ? Input::bearingLength : Input::breadth);
    case 16:
    case 17:
        if (d.e0mean == 0)
            return zeroInput(Input::e0mean);
        return StopReason{Kind::sectionTooSmall,
                          {Input::breadth, Input::depth},
                          "the section's second moment of area",
                          {}};
    default:
        return std::nullopt;
    }
}

// A step's inputs: its own, then those of the earlier steps it reads, each
// once, so that a step states only what its own formula takes.
std::vector<Input> reading(std::initializer_list<Input> own, std::initializer_list<int> steps)
{
    std::vector<Input> inputs(own);
    for (const int step : steps)
        for (const Input input : inputsOfStep(step).value_or(std::vector<Input>{}))
            if (std::ranges::find(inputs, input) == inputs.end())
                inputs.push_back(input);
    return inputs;
}

} // namespace

// The inputs each step is computed from under any flag or choice of the
// basis: what its formula in engine/check_steps.h takes and what the earlier
// steps it reads take.
std::optional<std::vector<Input>> inputsOfStep(int step)
{
    using I = Input;
    switch (step) {
    case 1:
        return reading({I::rhoMean, I::breadth, I::depth}, {});
    case 2:
        return reading({I::deadLoad, I::spacing}, {});
    case 3:
        return reading({I::liveLoad, I::spacing}, {});
    case 4: // the design load
        return reading({}, {2, 3, 1});
    case 5:
    case 6:
        return reading({I::span}, {4});
    case 7:
        return reading({I::fmk, I::kmod, I::kcrit, I::kls, I::kh, I::gammaM}, {38});
    case 8:
        return reading({I::fvk, I::kls, I::kmod, I::gammaM}, {});
    case 9:
        return reading({I::fc90k, I::kmod, I::gammaM}, {});
    case 10:
    case 11:
    case 12:
        return reading({I::breadth, I::depth}, {});
    case 13:
        return reading({}, {5, 11});
    case 14:
        return reading({}, {6, 39, 10});
    case 15:
        return reading({I::bearingLength, I::breadth}, {6, 41});
    case 16:
        return reading({I::span, I::e0mean}, {2, 1, 12});
    case 17:
        return reading({I::span, I::e0mean}, {3, 12});
    case 18:
        return reading({I::kmodGk}, {16});
    case 19:
        return reading({I::kmodQk}, {17});
    case 20:
        return reading({I::camber}, {19, 18});
    case 21: // the deflection limits
    case 22:
    case 23:
        return reading({I::span}, {});
    case 25: // the floor's mass
        return reading({I::deadLoad, I::rhoMean, I::breadth, I::depth, I::spacing}, {});
    case 26: // its stiffness
        return reading({I::e0mean, I::spacing}, {12});
    case 27:
        return reading({I::e0mean}, {12});
    case 28: // the deck's alone
        return reading({}, {});
    case 29: // f1
        return reading({I::span}, {25, 26});
    case 30: // k dist
        return reading({I::spacing}, {28});
    case 31: // w
        return reading({I::span}, {30, 27});
    case 32: // the limits a and b
        return reading({I::span}, {});
    case 33:
        return reading({}, {32});
    case 34: // n40
        return reading({I::span}, {29, 26, 28});
    case 35: // v
        return reading({I::span}, {34, 25});
    case 36: // v,lim
        return reading({}, {29, 33});
    case 37: // f1,min
        return reading({}, {});
    case 38: // kh by the depth, or the list's
        return reading({I::depth, I::kh}, {});
    case 39: // b ef
        return reading({I::breadth}, {});
    case 40: // l1 and l ef
        return reading({I::span, I::bearingLength}, {});
    case 41:
        return reading({}, {40});
    case 42: // kc,90
        return reading({I::depth}, {40});
    case 43:
        return reading({}, {42, 9});
    case 44: // the design point load: the basis's alone
        return reading({}, {});
    case 45: // its moment and shear, with the permanent load
    case 46:
        return reading({I::span}, {2, 1, 44});
    case 47:
        return reading({}, {45, 11});
    case 48:
        return reading({}, {46, 39, 10});
    case 49:
        return reading({I::bearingLength, I::breadth}, {46, 41});
    default: // a step without its inputs here: named by a test, never blamed on the span
        return std::nullopt;
    }
}

namespace {

// The design basis's part in a step, where it has one.
std::string_view stepBasis(int step, const DesignBasis& basis)
{
    switch (step) {
    case 3:
    case 4:
    case 17:
        if (basis.partitions != 0)
            return "the partition allowance of the design basis";
        return {};
    case 44:
    case 45:
    case 46:
    case 47:
    case 48:
    case 49:
        return basis.pointLoad ? "the concentrated load of the design basis" : std::string_view{};
    case 28:
        return "the deck thickness and deck modulus of the design basis";
    case 30:
        return "the deck of the design basis";
    case 31:
        return "k amp of the design basis";
    case 34:
        return "the floor width and the deck of the design basis";
    case 35:
        return "the floor width of the design basis";
    case 36:
        return "the damping ratio of the design basis";
    default:
        return {};
    }
}

StopReason zeroRatioDenominator(const JoistDesign& d, Check check)
{
    using I = Input;
    switch (check) {
    case Check::u2:
    case Check::u2Fin:
    case Check::uNetFin:
        return {Kind::noDeflectionLimit, {I::span}, {}, {}};
    case Check::bending:
    case Check::pointBending:
        return strength(d, "the design bending strength fm,d",
                        {I::fmk, I::kmod, I::kcrit, I::kls, I::kh});
    case Check::shear:
    case Check::pointShear:
        return strength(d, "the design shear strength fv,d", {I::fvk, I::kls, I::kmod});
    case Check::bearing:
    case Check::pointBearing:
        return strength(d, "the design bearing strength fc,90,d", {I::fc90k, I::kmod});
    case Check::f1:
        return {Kind::quantityIsZero,
                {I::span, I::deadLoad, I::e0mean},
                "the floor's fundamental frequency f1",
                {}};
    case Check::w:
        return {Kind::quantityIsZero, {I::span}, "the limit a for the deflection w", {}};
    case Check::v:
        return {Kind::quantityIsZero,
                {I::span},
                "the limit for the impulse velocity v",
                "the damping ratio of the design basis"};
    case Check::count:
        break;
    }
    return {};
}

// A deflection limit's divisor or cap outside its range, where the check of
// that limit stopped: that value, not the inputs, is to blame.
std::optional<StopReason> limitOutOfRange(const CheckOutcome& outcome, const DesignBasis& basis)
{
    struct Limit
    {
        int step;
        Check check;
        float DesignBasis::*divisor;
        std::optional<float> DesignBasis::*cap;
        std::string_view divisorName;
        std::string_view capName;
    };
    static constexpr Limit limits[] = {
        {21, Check::u2, &DesignBasis::u2Divisor, &DesignBasis::u2Cap,
         "the u 2 limit's span divisor in the design basis",
         "the u 2 limit's cap in the design basis"},
        {22, Check::u2Fin, &DesignBasis::u2FinDivisor, &DesignBasis::u2FinCap,
         "the u 2,fin limit's span divisor in the design basis",
         "the u 2,fin limit's cap in the design basis"},
        {23, Check::uNetFin, &DesignBasis::uNetFinDivisor, &DesignBasis::uNetFinCap,
         "the u net,fin limit's span divisor in the design basis",
         "the u net,fin limit's cap in the design basis"},
    };
    for (const Limit& limit : limits) {
        if (outcome.step != limit.step && !(outcome.step == 24 && outcome.ratio == limit.check))
            continue;
        if (!divisorRange.holds(basis.*limit.divisor))
            return StopReason{Kind::limitOutOfRange, {}, {}, limit.divisorName};
        if (basis.*limit.cap && !capRange.holds(*(basis.*limit.cap)))
            return StopReason{Kind::limitOutOfRange, {}, {}, limit.capName};
    }
    return std::nullopt;
}

// "a, b and c"
std::string listed(const std::vector<Input>& inputs, const std::function<std::string(Input)>& name)
{
    std::string list;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        if (i > 0)
            list += i + 1 == inputs.size() ? " and " : ", ";
        list += name(inputs[i]);
    }
    return list;
}

} // namespace

StopReason stopReason(const CheckOutcome& outcome, const JoistDesign& design)
{
    using I = Input;
    if (std::optional<StopReason> limit = limitOutOfRange(outcome, design.basis))
        return *limit;
    if (outcome.fault == FaultKind::overflow)
        return {Kind::tooLarge, {I::span, I::deadLoad, I::liveLoad, I::breadth, I::depth}, {}, {}};
    if (outcome.step == 24 && outcome.ratio)
        return zeroRatioDenominator(design, *outcome.ratio);
    if (std::optional<StopReason> divisor = zeroDivisor(design, outcome.step))
        return *divisor;
    return {Kind::noValidResult,
            inputsOfStep(outcome.step).value_or(std::vector<Input>{}),
            {},
            stepBasis(outcome.step, design.basis)};
}

std::string describeStop(const StopReason& reason, const std::function<std::string(Input)>& name)
{
    std::string why;
    switch (reason.kind) {
    case Kind::tooLarge:
        why = "a result is too large to compute; check " + listed(reason.inputs, name);
        break;
    case Kind::inputIsZero:
        why = listed(reason.inputs, name) + " is 0";
        break;
    case Kind::noDeflectionLimit:
        why = listed(reason.inputs, name) + " is 0, so there is no deflection limit";
        break;
    case Kind::zeroStrength:
        why = std::string(reason.quantity) + " is 0 (zero: " + listed(reason.inputs, name) + ")";
        break;
    case Kind::strengthTooSmall:
        why = std::string(reason.quantity) + " is 0, its factors are too small to compute";
        break;
    case Kind::sectionTooSmall:
        why = std::string(reason.quantity) + " is 0, the section is too small to compute";
        break;
    case Kind::noValidResult:
        why = listed(reason.inputs, name);
        if (!reason.basis.empty())
            why += (why.empty() ? "" : " with ") + std::string(reason.basis);
        why += " give no valid result";
        break;
    case Kind::limitOutOfRange:
        why = std::string(reason.basis) + " cannot give a meaningful deflection limit";
        break;
    case Kind::quantityIsZero:
        why = std::string(reason.quantity) + " is 0; check " + listed(reason.inputs, name);
        if (!reason.basis.empty())
            why += " and " + std::string(reason.basis);
        break;
    }
    return why;
}

} // namespace joist
