#include "engine/design_check.h"

#include <cmath>

#include "engine/float_status.h"
#include "engine/number_text.h"

namespace joist {
namespace {

double power(double base, double exponent)
{
    return std::pow(base, exponent);
}

// Each step is evaluated in double from the stored floats and rounded to float,
// then the accumulated floating-point status is tested, and only then stored.
class Steps
{
public:
    Steps() { clearFloatFaults(); }

    // A faulty result is not stored: the member keeps the value it had.
    bool store(int step, float& member, double value)
    {
        const float rounded = settled(static_cast<float>(value));
        if (!test(step))
            return false;
        member = rounded;
        return true;
    }

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

    CheckOutcome outcome() const { return outcome_; }

private:
    CheckOutcome outcome_;
};

// Ratio sub-steps 1 to 4 of one check: divide, round to float, test, format
// with "#0.00#" and read that text back as the stored ratio.
bool formRatio(JoistDesign& d, const CheckDefinition& check, Steps& steps,
               std::string_view separator)
{
    const float quotient =
        settled(static_cast<float>(double(d.*check.numerator) / double(d.*check.denominator)));
    if (!steps.test(24, check.check))
        return false;
    const std::optional<float> rounded = parseNumber(formatRatio(quotient, separator), separator);
    // Formatting a finite float and reading it back cannot fail or overflow;
    // clear whatever flags the conversions left so they do not count against
    // the next ratio.
    clearFloatFaults();
    d.*check.ratio = rounded.value_or(quotient);
    return true;
}

void show(ResultSink& sink, ResultLabel label, float value, std::string_view separator)
{
    sink.setResultText(label, generalText(value, separator));
}

} // namespace

const CheckDefinition& definitionOf(Check check)
{
    return checkDefinitions[static_cast<std::size_t>(check)];
}

void findGoverningCheck(JoistDesign& design)
{
    design.unityRatio = 0;
    for (const CheckDefinition& check : checkDefinitions) {
        if (design.*check.ratio > design.unityRatio)
            design.unityRatio = design.*check.ratio;
    }
}

void selectFailureMessage(JoistDesign& design)
{
    for (const CheckDefinition& check : checkDefinitions) {
        if (design.unityRatio == design.*check.ratio) {
            design.governingMessage = check.failureText;
            return;
        }
    }
}

CheckOutcome runDesignCheck(JoistDesign& d, bool loading, ResultSink& sink,
                            std::string_view decimalSeparator)
{
    if (loading) {
        CheckOutcome skipped;
        skipped.status = CheckOutcome::Status::skipped;
        return skipped;
    }

    using F = double;
    Steps s;
    // clang-format off
    if (!s.store(1, d.selfWeight, F(d.rhoMean) * 9.81 * F(d.breadth) * F(d.depth) / power(10, 9))) return s.outcome();
    if (!s.store(2, d.deadLineLoad, F(d.deadLoad) * F(d.spacing) / power(10, 3))) return s.outcome();
    if (!s.store(3, d.liveLineLoad, F(d.liveLoad) * F(d.spacing) / power(10, 3))) return s.outcome();
    if (!s.store(4, d.designLoad, (F(d.deadLineLoad) + F(d.selfWeight)) * 1.35 + F(d.liveLineLoad) * 1.5)) return s.outcome();
    if (!s.store(5, d.designMoment, power(d.span, 2) * F(d.designLoad) / 8)) return s.outcome();
    if (!s.store(6, d.designShear, F(d.designLoad) * F(d.span) / 2)) return s.outcome();
    if (!s.store(7, d.fmd, F(d.fmk) * F(d.kmod) * F(d.kcrit) * F(d.kls) * F(d.kh) / F(d.gammaM))) return s.outcome();
    if (!s.store(8, d.fvd, F(d.fvk) * F(d.kls) * F(d.kmod) / F(d.gammaM))) return s.outcome();
    if (!s.store(9, d.fc90d, F(d.fc90k) * F(d.kmod) / F(d.gammaM))) return s.outcome();
    if (!s.store(10, d.area, F(d.breadth) * F(d.depth))) return s.outcome();
    if (!s.store(11, d.sectionModulus, power(d.depth, 2) * F(d.breadth) / 6)) return s.outcome();
    if (!s.store(12, d.secondMoment, power(d.depth, 3) * F(d.breadth) / 12)) return s.outcome();
    if (!s.store(13, d.bendingStress, power(10, 6) * F(d.designMoment) / F(d.sectionModulus))) return s.outcome();
    if (!s.store(14, d.shearStress, power(10, 3) * (F(d.designShear) * 1.5) / F(d.area))) return s.outcome();
    if (!s.store(15, d.bearingStress, power(10, 3) * F(d.designShear) / (F(d.bearingLength) * F(d.breadth)))) return s.outcome();
    if (!s.store(16, d.uInstG, power(power(10, 3) * F(d.span), 4) * ((F(d.deadLineLoad) + F(d.selfWeight)) * 5) / (power(10, 3) * (F(d.e0mean) * 384) * F(d.secondMoment)))) return s.outcome();
    if (!s.store(17, d.uInstQ, power(power(10, 3) * F(d.span), 4) * (F(d.liveLineLoad) * 5) / (power(10, 3) * (F(d.e0mean) * 384) * F(d.secondMoment)))) return s.outcome();
    if (!s.store(18, d.uFinG, (F(d.kmodGk) + 1) * F(d.uInstG))) return s.outcome();
    if (!s.store(19, d.uFinQ, (F(d.kmodQk) + 1) * F(d.uInstQ))) return s.outcome();
    if (!s.store(20, d.uNetFin, F(d.uFinQ) + F(d.uFinG) - F(d.camber))) return s.outcome();
    if (!s.store(21, d.limitU2, power(10, 3) * F(d.span) / 300)) return s.outcome();
    if (!s.store(22, d.limitU2Fin, power(10, 3) * F(d.span) / 200)) return s.outcome();
    if (!s.store(23, d.limitUNetFin, power(10, 3) * F(d.span) / 200)) return s.outcome();
    // clang-format on

    // Step 24: the ratios, each completely before the next, then the display.
    for (const CheckDefinition& check : checkDefinitions) {
        if (!formRatio(d, check, s, decimalSeparator))
            return s.outcome();
    }
    show(sink, ResultLabel::bending, d.ratioBending, decimalSeparator);
    show(sink, ResultLabel::shear, d.ratioShear, decimalSeparator);
    show(sink, ResultLabel::bearing, d.ratioBearing, decimalSeparator);
    show(sink, ResultLabel::u2, d.ratioU2, decimalSeparator);
    show(sink, ResultLabel::u2Fin, d.ratioU2Fin, decimalSeparator);
    show(sink, ResultLabel::uNetFin, d.ratioUNetFin, decimalSeparator);
    findGoverningCheck(d);
    show(sink, ResultLabel::unityRatio, d.unityRatio, decimalSeparator);
    if (d.unityRatio > 1) {
        selectFailureMessage(d);
        sink.setResultText(ResultLabel::governedBy, d.governingMessage);
    } else {
        sink.setResultText(ResultLabel::governedBy, passText);
    }
    return s.outcome();
}

} // namespace joist
