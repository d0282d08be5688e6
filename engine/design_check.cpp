#include "engine/design_check.h"

#include "engine/check_steps.h"
#include "engine/float_status.h"
#include "engine/number_text.h"

namespace joist {
namespace {

// Each check's ratio as the whole number of thousandths it was stored from,
// in check order: its text is written from them.
using Thousandths = std::array<double, checkDefinitions.size()>;

void storeRatio(JoistDesign& d, const CheckDefinition& check, float quotient, Thousandths& kept)
{
    const double thousandths = ratioThousandths(quotient);
    d.*check.ratio = static_cast<float>(thousandths / 1000); // roundedRatio(quotient)
    kept[static_cast<std::size_t>(check.check)] = thousandths;
}

// Steps 1 to 24, tested after each step and each ratio division: the first
// fault stops the check there.
CheckOutcome runTestedSteps(JoistDesign& d, Thousandths& kept)
{
    FaultTestedSteps steps;
    if (!computeSteps(d, steps))
        return steps.outcome();
    // Step 24: the ratios, each completely before the next, each the
    // quotient as its "#0.00#" text reads back.
    for (const CheckDefinition& check : checkDefinitions) {
        if (!inForce(check, d))
            continue;
        const std::optional<float> quotient = steps.quotient(d, check);
        if (!quotient)
            return steps.outcome();
        storeRatio(d, check, *quotient, kept);
    }
    return steps.outcome();
}

void show(ResultSink& sink, ResultLabel label, float ratio, double thousandths,
          std::string_view separator)
{
    sink.setResultText(label, GeneralText(ratio, thousandths, separator).view());
}

} // namespace

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

    // Nearly every check raises no fault, and testing after each step waits
    // for the arithmetic before it. So the check runs untested and tests
    // once at the end; only when something faulted is the record put back
    // and the check run again, tested after each step, to stop where the
    // fault arose with the members a stopped check keeps.
    const JoistDesign before = d;
    Thousandths thousandths{};
    clearFloatFaults();
    computeSteps(d, UntestedSteps{});
    for (const CheckDefinition& check : checkDefinitions) {
        if (inForce(check, d))
            storeRatio(d, check, ratioQuotient(d, check), thousandths);
    }
    CheckOutcome outcome;
    if (raisedFloatFault()) {
        d = before;
        outcome = runTestedSteps(d, thousandths);
        if (outcome.status == CheckOutcome::Status::stopped)
            return outcome;
    }

    for (const ResultLabel label : outputOrder) {
        const std::optional<Check> check = checkOfLabel(label);
        if (check && inForce(definitionOf(*check), d))
            show(sink, label, d.*definitionOf(*check).ratio,
                 thousandths[static_cast<std::size_t>(*check)], decimalSeparator);
    }
    findGoverningCheck(d);
    const std::optional<Check> governing = governingCheck(d);
    show(sink, ResultLabel::unityRatio, d.unityRatio,
         governing ? thousandths[static_cast<std::size_t>(*governing)] : 0, decimalSeparator);
    if (d.unityRatio > 1) {
        selectFailureMessage(d);
        sink.setResultText(ResultLabel::governedBy, d.governingMessage);
    } else {
        sink.setResultText(ResultLabel::governedBy, passText);
    }
    return outcome;
}

} // namespace joist
