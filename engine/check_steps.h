#pragma once

// The arithmetic of the design check, written once: steps 1 to 23 and the
// ratio division with the fault test after each. The full check, the
// pass/fail evaluation of the design aids and the benchmark floor all run it.

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

#include "engine/design_check.h"
#include "engine/float_status.h"
#include "engine/joist_design.h"

namespace joist {

inline double power(double base, double exponent)
{
    return std::pow(base, exponent);
}

// x^n for a whole n, multiplied out left to right. For a float x and n <= 3
// it is rounded once, as x^2 is exact in double.
inline double wholePower(double x, int n)
{
    double product = x;
    for (int i = 1; i < n; ++i)
        product *= x;
    return product;
}

// (10^3 * L)^4 for a float L, correctly rounded, where the general power
// function is off by one double step in about one case in a thousand: L^2 is
// exact in double, its square is split exactly into hi + lo, and one rounding
// remains. (Checked against exact integer arithmetic for every float
// significand; no float L over- or underflows on the way.)
inline double millimetresToTheFourth(float metres)
{
    const double square = double(metres) * double(metres);
    const double hi = square * square;
    const double lo = std::fma(square, square, -hi);
    return std::fma(hi, 1e12, lo * 1e12);
}

// A deflection limit: span / divisor, and at most the cap when there is one.
inline double deflectionLimit(float span, float divisor, const std::optional<float>& cap)
{
    const double limit = power(10, 3) * double(span) / double(divisor);
    return cap ? std::min(limit, double(*cap)) : limit;
}

// b^exponent. For a stiff short floor (f1 over about 1000 Hz at 2 % damping)
// the limit exceeds single precision, which would stop the check of a floor
// that plainly passes: it is then the largest float instead. b never exceeds
// 180, and 180^17 is below the largest float, so the logarithm is needed only
// beyond an exponent of 17.
inline double velocityLimit(double b, double exponent)
{
    if (exponent > 17 && b > 1 &&
        exponent * std::log(b) > std::log(double(std::numeric_limits<float>::max())))
        return std::numeric_limits<float>::max();
    return power(b, exponent);
}

// Steps 25 to 37, floor vibration (EN 1995-1-1 7.3.3), from the stored
// members of steps 1 to 23; the mass from permanent actions only. a and b
// are the UK National Annex's from the span, or under EN 1995-1-1's rules
// the basis's. The standard leaves open how w under 1 kN is found, so either
// way it is the UK National Annex's: the load spread over the joists by
// kdist, amplified by kamp.
template <class Store> bool computeVibrationSteps(JoistDesign& d, Store&& store)
{
    using F = double;
    // Powers of ten as exact constants and whole powers multiplied out: the
    // general power function costs more than the rest of a step here.
    const DesignBasis& basis = d.basis;
    const double kstrut = basis.strutting ? 0.97 : 1.0;
    const double spanMm = 1e3 * F(d.span);
    const bool ukNa = basis.vibrationRules == VibrationRules::ukNa;
    // clang-format off
    return store(25, d.floorMass, F(d.deadLoad) * 1e3 / 9.81 + F(d.rhoMean) * F(d.breadth) * F(d.depth) / (1e3 * F(d.spacing)))
        && store(26, d.eiFloor, F(d.e0mean) * F(d.secondMoment) / F(d.spacing))
        && store(27, d.eiJoist, F(d.e0mean) * 1e3 * F(d.secondMoment))
        && store(28, d.eiDeck, F(basis.deckModulus) * wholePower(basis.deckThickness, 3) / 12 * 1e3)
        && store(29, d.f1, std::numbers::pi / (2 * wholePower(d.span, 2)) * std::sqrt(F(d.eiFloor) / F(d.floorMass)))
        && store(30, d.kdist, std::max(kstrut * (0.38 - 0.08 * std::log(14 * F(d.eiDeck) / wholePower(d.spacing, 4))), 0.30))
        && store(31, d.w, 1e3 * F(d.kdist) * wholePower(spanMm, 3) * F(basis.kamp) / (48 * F(d.eiJoist)))
        && store(32, d.a, !ukNa ? F(basis.vibrationA) : spanMm <= 4000 ? 1.8 : 16500 / power(spanMm, 1.1))
        && store(33, d.b, !ukNa ? F(basis.vibrationB) : F(d.a) <= 1 ? 180 - 60 * F(d.a) : 160 - 40 * F(d.a))
        && store(34, d.n40, std::sqrt(std::sqrt(std::max(0.0, wholePower(40 / F(d.f1), 2) - 1) * wholePower(F(basis.floorWidth) / F(d.span), 4) * F(d.eiFloor) / (F(d.eiDeck) / 1e6))))
        && store(35, d.v, 4 * (0.4 + 0.6 * F(d.n40)) / (F(d.floorMass) * F(basis.floorWidth) * F(d.span) + 200))
        && store(36, d.vLimit, velocityLimit(d.b, F(d.f1) * F(basis.damping) - 1))
        && store(37, d.f1Min, 8.0);
    // clang-format on
}

// Why kc,90 is what it is under the amended rules (6.1.5(4)).
enum class Kc90Case {
    notEnhanced,    // hardwood, a material the table does not name, or the original rules
    shortClearSpan, // l1 < 2h
    longBearing,    // glulam on a bearing longer than 400 mm
    softwood,       // 1.5: solid softwood, l1 >= 2h
    glulam,         // 1.75: glulam, l1 >= 2h, l <= 400 mm
};

inline Kc90Case kc90Case(const JoistDesign& d)
{
    if (d.basis.rules != Rules::amended ||
        (d.material != Material::softwood && d.material != Material::glulam))
        return Kc90Case::notEnhanced;
    if (!(double(d.clearSpan) >= 2 * double(d.depth)))
        return Kc90Case::shortClearSpan;
    if (d.material == Material::softwood)
        return Kc90Case::softwood;
    return double(d.bearingLength) <= 400 ? Kc90Case::glulam : Kc90Case::longBearing;
}

// The values of kc,90 in EN 1995-1-1 6.1.5(4) with A1 on discrete supports
// (one source for 1.5 and 1.75 and their conditions; 1.0 otherwise, and its
// restriction to softwood and glulam, [unverified]).
inline double kc90Of(Kc90Case why)
{
    switch (why) {
    case Kc90Case::softwood:
        return 1.5;
    case Kc90Case::glulam:
        return 1.75;
    default:
        return 1.0;
    }
}

// base^exponent for kh, which depends on the depth alone: the power costs as
// much as the rest of the check, and a section is checked many times over
// (each keystroke, the design aids, the span table), so the last is kept,
// one per thread. The same value either way.
inline double sizePower(double base, double exponent)
{
    thread_local double lastBase = 0, lastExponent = 0, lastValue = 1;
    if (base != lastBase || exponent != lastExponent) {
        lastValue = power(base, exponent);
        lastBase = base;
        lastExponent = exponent;
    }
    return lastValue;
}

// kh, 3.2(3) for solid timber of rho k up to 700 kg/m3 and 3.3(3) for
// glulam; a material the table does not name keeps the list's kh. A depth of
// 0 or less gets the cap, so the section's own step names the fault.
inline double sizeFactor(const JoistDesign& d)
{
    const double h = d.depth;
    if (isSolidTimber(d.material)) {
        if (!(d.rhoK <= 700) || h >= 150)
            return 1.0;
        return h > 0 ? std::min(sizePower(150 / h, 0.2), 1.3) : 1.3;
    }
    if (d.material == Material::glulam) {
        if (h >= 600)
            return 1.0;
        return h > 0 ? std::min(sizePower(600 / h, 0.1), 1.1) : 1.1;
    }
    return d.kh;
}

// l ef of 6.1.5(1) with A1: l plus up to 30 mm on each side, on each side no
// more than that side's free length (the end distance a, l and half the
// clear span l1). A side with no free length gains nothing; the whole rule is
// [unverified] against the standard's text.
inline double effectiveBearingLength(const JoistDesign& d)
{
    const double l = d.bearingLength;
    const double halfClear = double(d.clearSpan) / 2;
    const double spanSide = std::min({30.0, l, halfClear});
    const double endSide = std::min({30.0, double(d.basis.endDistance), l, halfClear});
    return l + std::max(spanSide, 0.0) + std::max(endSide, 0.0);
}

// Shear takes kcr under the amended rules, and under the original ones too
// wherever the table's fv,k was set for it: fv,k without kcr would overstate
// the resistance by 1/kcr.
inline bool kcrInForce(const JoistDesign& d)
{
    return d.basis.rules == Rules::amended || d.tablePresumesKcr;
}

// Whether a longer span may still lower the bearing ratios: under the amended
// rules l ef grows with the clear span up to l1 = 60 mm, and kc,90 rises at
// l1 = 2h. Beyond both the ratios grow with the span.
inline bool bearingMayFallWithSpan(const JoistDesign& d)
{
    return d.basis.rules == Rules::amended &&
           !(double(d.clearSpan) >= std::max(2 * double(d.depth), 60.0));
}

// Steps 44 to 49, the concentrated imposed load (EN 1991-1-1 6.2.1(4)) with
// the permanent load and without the distributed imposed load, factored as
// step 4 factors them: Qk at mid-span for bending, at a support for shear
// and bearing, where its reaction is the whole design point load. Shear and
// bearing follow the rules in force as steps 14 and 15 do. The loads within
// h of a support, which 6.1.7(3) lets shear disregard, are not disregarded.
template <class Store> bool computePointLoadSteps(JoistDesign& d, Store&& store)
{
    using F = double;
    const bool amended = d.basis.rules == Rules::amended;
    const bool kcr = kcrInForce(d);
    // clang-format off
    return store(44, d.pointDesignLoad, F(d.basis.pointLoadQk) * F(d.basis.pointShare) * 1.5)
        && store(45, d.pointMoment, power(d.span, 2) * ((F(d.deadLineLoad) + F(d.selfWeight)) * 1.35) / 8 + F(d.pointDesignLoad) * F(d.span) / 4)
        && store(46, d.pointShear, (F(d.deadLineLoad) + F(d.selfWeight)) * 1.35 * F(d.span) / 2 + F(d.pointDesignLoad))
        && store(47, d.pointBendingStress, power(10, 6) * F(d.pointMoment) / F(d.sectionModulus))
        && store(48, d.pointShearStress, power(10, 3) * (F(d.pointShear) * 1.5) / (kcr ? F(d.shearBreadth) * F(d.depth) : F(d.area)))
        && store(49, d.pointBearingStress, power(10, 3) * F(d.pointShear) / (F(amended ? d.bearingLengthEff : d.bearingLength) * F(d.breadth)));
    // clang-format on
}

// Steps 1 to 23 (with 38 to 43 under the amended rules, of which 42 and 43
// always run and 39 wherever kcr is in force, 44 to 49 when the point load is checked and 25 to 37
// when vibration is), each formula evaluated in double from the stored floats in the order written.
// `store(step, member, value)` rounds the value to float and stores it; when it returns false the
// steps stop there.
template <class Store> bool computeSteps(JoistDesign& d, Store&& store)
{
    using F = double;
    const bool amended = d.basis.rules == Rules::amended;
    const bool kcr = kcrInForce(d);
    // clang-format off
    return store(1, d.selfWeight, F(d.rhoMean) * 9.81 * F(d.breadth) * F(d.depth) / power(10, 9))
        && store(2, d.deadLineLoad, F(d.deadLoad) * F(d.spacing) / power(10, 3))
        && store(3, d.liveLineLoad, (F(d.liveLoad) + F(d.basis.partitions)) * F(d.spacing) / power(10, 3))
        && store(4, d.designLoad, (F(d.deadLineLoad) + F(d.selfWeight)) * 1.35 + F(d.liveLineLoad) * 1.5)
        && store(5, d.designMoment, power(d.span, 2) * F(d.designLoad) / 8)
        && store(6, d.designShear, F(d.designLoad) * F(d.span) / 2)
        && (!amended || store(38, d.khInForce, sizeFactor(d)))
        && store(7, d.fmd, F(d.fmk) * F(d.kmod) * F(d.kcrit) * F(d.kls) * F(amended ? d.khInForce : d.kh) / F(d.gammaM))
        && store(8, d.fvd, F(d.fvk) * F(d.kls) * F(d.kmod) / F(d.gammaM))
        && store(9, d.fc90d, F(d.fc90k) * F(d.kmod) / F(d.gammaM))
        && store(10, d.area, F(d.breadth) * F(d.depth))
        && store(11, d.sectionModulus, power(d.depth, 2) * F(d.breadth) / 6)
        && store(12, d.secondMoment, wholePower(d.depth, 3) * F(d.breadth) / 12)
        && store(13, d.bendingStress, power(10, 6) * F(d.designMoment) / F(d.sectionModulus))
        && (!kcr || store(39, d.shearBreadth, F(d.basis.kcr) * F(d.breadth)))
        && store(14, d.shearStress, power(10, 3) * (F(d.designShear) * 1.5) / (kcr ? F(d.shearBreadth) * F(d.depth) : F(d.area)))
        && (!amended || (store(40, d.clearSpan, power(10, 3) * F(d.span) - F(d.bearingLength))
                         && store(41, d.bearingLengthEff, effectiveBearingLength(d))))
        && store(15, d.bearingStress, power(10, 3) * F(d.designShear) / (F(amended ? d.bearingLengthEff : d.bearingLength) * F(d.breadth)))
        && store(42, d.kc90, kc90Of(kc90Case(d)))
        && store(43, d.bearingResistance, F(d.kc90) * F(d.fc90d))
        && store(16, d.uInstG, millimetresToTheFourth(d.span) * ((F(d.deadLineLoad) + F(d.selfWeight)) * 5) / (power(10, 3) * (F(d.e0mean) * 384) * F(d.secondMoment)))
        && store(17, d.uInstQ, millimetresToTheFourth(d.span) * (F(d.liveLineLoad) * 5) / (power(10, 3) * (F(d.e0mean) * 384) * F(d.secondMoment)))
        && store(18, d.uFinG, (F(d.kmodGk) + 1) * F(d.uInstG))
        && store(19, d.uFinQ, (F(d.kmodQk) + 1) * F(d.uInstQ))
        && store(20, d.uNetFin, F(d.uFinQ) + F(d.uFinG) - F(d.camber))
        && store(21, d.limitU2, deflectionLimit(d.span, d.basis.u2Divisor, d.basis.u2Cap))
        && store(22, d.limitU2Fin, deflectionLimit(d.span, d.basis.u2FinDivisor, d.basis.u2FinCap))
        && store(23, d.limitUNetFin, deflectionLimit(d.span, d.basis.uNetFinDivisor, d.basis.uNetFinCap))
        && (!d.basis.pointLoad || computePointLoadSteps(d, store))
        && (!d.basis.vibration || computeVibrationSteps(d, store));
    // clang-format on
}

// The quotient of one check's ratio, divided in double and rounded to float.
inline float ratioQuotient(const JoistDesign& d, const CheckDefinition& check)
{
    return settled(static_cast<float>(double(d.*check.numerator) / double(d.*check.denominator)));
}

// Stores every step untested, for a caller that first needs only whether the
// check would stop, not where: the status accumulates, so one fault test after
// the last ratio division sees every fault that any step raised. Testing after
// each step waits for the arithmetic before it to finish, every time. Every
// step feeds some ratio quotient, and ratioQuotient settles each before the
// test, so no step can be moved past it.
struct UntestedSteps
{
    bool operator()(int, float& member, double value) const
    {
        member = static_cast<float>(value);
        return true;
    }
};

// The fault test: the floating-point status accumulates over the whole
// check and is tested after each step and each ratio division; the first
// fault stops the check and is kept as its outcome.
class FaultTestedSteps
{
public:
    FaultTestedSteps() { clearFloatFaults(); }

    // A faulty result is not stored: the member keeps the value it had.
    bool operator()(int step, float& member, double value)
    {
        const float rounded = settled(static_cast<float>(value));
        if (!test(step))
            return false;
        member = rounded;
        return true;
    }

    // Divides one check's ratio and tests it; nullopt when it faulted.
    std::optional<float> quotient(const JoistDesign& d, const CheckDefinition& check)
    {
        const float q = ratioQuotient(d, check);
        if (!test(24, check.check))
            return std::nullopt;
        return q;
    }

    CheckOutcome outcome() const { return outcome_; }

private:
    bool test(int step, std::optional<Check> ratio = std::nullopt)
    {
        const std::optional<FaultKind> fault = raisedFloatFault();
        if (!fault)
            return true;
        outcome_.status = CheckOutcome::Status::stopped;
        outcome_.step = step;
        outcome_.ratio = ratio;
        outcome_.fault = *fault;
        return false;
    }

    CheckOutcome outcome_;
};

} // namespace joist
