#include "engine/design_check.h"

#include "engine/check_steps.h"
#include "engine/float_status.h"
#include "engine/number_text.h"

namespace joist {
namespace {

// Ratio sub-steps 3 and 4 of one check: format the tested quotient with
// "#0.00#" and read that text back as the stored ratio.
void storeRoundedRatio(JoistDesign& d, const CheckDefinition& check, float quotient,
                       std::string_view separator)
{
    const std::optional<float> rounded = parseNumber(formatRatio(quotient, separator), separator);
    // Formatting a finite float and reading it back cannot fail or overflow;
    // clear whatever flags the conversions left so they do not count against
    // the next ratio.
    clearFloatFaults();
    d.*check.ratio = rounded.value_or(quotient);
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
        if (inForce(check, design) && design.*check.ratio > design.unityRatio)
            design.unityRatio = design.*check.ratio;
    }
}

std::optional<Check> governingCheck(const JoistDesign& design)
{
    for (const CheckDefinition& check : checkDefinitions) {
        if (design.unityRatio > 0 && inForce(check, design) &&
            design.*check.ratio == design.unityRatio)
            return check.check;
    }
    return std::nullopt;
}

void selectFailureMessage(JoistDesign& design)
{
    // Called only when the unity ratio exceeds 1, so some check governs.
    if (const std::optional<Check> governing = governingCheck(design))
        design.governingMessage = definitionOf(*governing).failureText;
}

CheckOutcome runDesignCheck(JoistDesign& d, bool loading, ResultSink& sink,
                            std::string_view decimalSeparator)
{
    if (loading) {
        CheckOutcome skipped;
        skipped.status = CheckOutcome::Status::skipped;
        return skipped;
    }

    FaultTestedSteps steps;
    if (!computeSteps(d, steps))
        return steps.outcome();

    // Step 24: the ratios, each completely before the next, then the display.
    for (const CheckDefinition& check : checkDefinitions) {
        if (!inForce(check, d))
            continue;
        const std::optional<float> quotient = steps.quotient(d, check);
        if (!quotient)
            return steps.outcome();
        storeRoundedRatio(d, check, *quotient, decimalSeparator);
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
    return steps.outcome();
}

} // namespace joist
