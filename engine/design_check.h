#pragma once

// The checks of one joist, each described once in a table, and the design check
// that computes them, rounds the ratios and names the verdict.

#include <array>
#include <optional>
#include <string_view>

#include "engine/float_status.h"
#include "engine/joist_design.h"

namespace joist {

// The checks in check order: the one order in which ratios are formed, the
// unity ratio is found and the failing check is named. The three floor
// vibration checks take part only when the design basis checks vibration.
enum class Check { u2, u2Fin, uNetFin, bending, shear, bearing, f1, w, v };

// The labels a completed check writes.
enum class ResultLabel {
    bending,
    shear,
    bearing,
    u2,
    u2Fin,
    uNetFin,
    unityRatio,
    governedBy,
    // The vibration ratios, shown below the factor column only while the
    // design basis checks vibration.
    f1,
    w,
    v,
};

// Everything about one check, written once: what it divides, where the
// ratio goes, and how it is named and worked on screen and on the sheet.
// Symbols write decimals with a full stop; a reader localises them.
struct CheckDefinition
{
    Check check;
    float JoistDesign::*numerator;
    float JoistDesign::*denominator;
    float JoistDesign::*ratio;
    ResultLabel label;
    std::string_view caption;
    std::string_view failureText;
    std::string_view demandSymbol;   // what the load causes: "σm,d"
    std::string_view capacitySymbol; // what the joist allows: "fm,d", "L/300"
    std::string_view unit;
    std::string_view clause; // of EN 1995-1-1
    // The span table's mark for the check that governs a cell, and what its
    // legend calls it; the vibration checks share one. A capital letter, never
    // a digit, which beside a span would read as one more decimal.
    char mark;
    std::string_view markName;
    // Roughly how the ratio grows with the span, as L^spanPower, with the
    // loads fixed: the longest-span search starts from the span this
    // predicts. 0 where no such power holds.
    int spanPower;
};

inline constexpr std::array<CheckDefinition, 9> checkDefinitions{{
    {Check::u2, &JoistDesign::uInstQ, &JoistDesign::limitU2, &JoistDesign::ratioU2, ResultLabel::u2,
     "u 2", "Joist fails in deflection: u 2", "u inst,Q", "L/300", "mm", "7.2, 2.2.3", 'U', "u 2",
     3},
    {Check::u2Fin, &JoistDesign::uFinQ, &JoistDesign::limitU2Fin, &JoistDesign::ratioU2Fin,
     ResultLabel::u2Fin, "u 2,fin", "Joist fails in deflection: u 2,fin", "u fin,Q", "L/200", "mm",
     "7.2, 2.2.3", 'F', "u 2,fin", 3},
    {Check::uNetFin, &JoistDesign::uNetFin, &JoistDesign::limitUNetFin, &JoistDesign::ratioUNetFin,
     ResultLabel::uNetFin, "u net,fin", "Joist fails in deflection: u net,fin",
     "u fin,G + u fin,Q \u2212 u0", "L/200", "mm", "7.2, 2.2.3", 'N', "u net,fin", 3},
    {Check::bending, &JoistDesign::bendingStress, &JoistDesign::fmd, &JoistDesign::ratioBending,
     ResultLabel::bending, "Bending", "Joist fails in bending", "\u03C3m,d", "fm,d", "N/mm\u00B2",
     "6.1.6", 'B', "bending", 2},
    {Check::shear, &JoistDesign::shearStress, &JoistDesign::fvd, &JoistDesign::ratioShear,
     ResultLabel::shear, "Shear", "Joist fails in shear", "\u03C4d = 1.5 V/A", "fv,d", "N/mm\u00B2",
     "6.1.7", 'S', "shear", 1},
    {Check::bearing, &JoistDesign::bearingStress, &JoistDesign::fc90d, &JoistDesign::ratioBearing,
     ResultLabel::bearing, "Bearing", "Joist fails in bearing", "\u03C3c,90,d", "fc,90,d",
     "N/mm\u00B2", "6.1.5", 'C', "bearing", 1},
    {Check::f1, &JoistDesign::f1Min, &JoistDesign::f1, &JoistDesign::ratioF1, ResultLabel::f1, "f1",
     "Joist fails in vibration: f1", "f1,min", "f1", "Hz", "7.3.3", 'V', "vibration", 2},
    {Check::w, &JoistDesign::w, &JoistDesign::a, &JoistDesign::ratioW, ResultLabel::w, "w",
     "Joist fails in vibration: w", "w", "a", "mm/kN", "7.3.3", 'V', "vibration", 4},
    {Check::v, &JoistDesign::v, &JoistDesign::vLimit, &JoistDesign::ratioV, ResultLabel::v, "v",
     "Joist fails in vibration: v", "v", "v,lim", "m/(N s\u00B2)", "7.3.3", 'V', "vibration", 0},
}};

const CheckDefinition& definitionOf(Check check);

inline constexpr bool isVibrationCheck(Check check)
{
    return check >= Check::f1;
}

// Whether a check takes part in the ratios, the unity ratio and the verdict
// of this design.
inline bool inForce(const CheckDefinition& check, const JoistDesign& design)
{
    return design.basis.vibration || !isVibrationCheck(check.check);
}

inline constexpr std::string_view passText = "Joist Passes";

// Where results go: the main window's labels, or anything else in tests.
class ResultSink
{
public:
    virtual ~ResultSink() = default;
    virtual void setResultText(ResultLabel label, std::string_view text) = 0;
};

struct CheckOutcome
{
    enum class Status {
        completed,
        skipped, // the window is loading
        stopped, // a floating-point fault; nothing was shown
    };
    Status status = Status::completed;
    int step = 0;               // 1 to 23, 24 for a ratio, 25 to 37 for vibration
    std::optional<Check> ratio; // the ratio whose division faulted, at step 24
    FaultKind fault = FaultKind::invalidOperation;

    bool completed() const { return status == Status::completed; }
    bool stopped() const { return status == Status::stopped; }
};

// Steps 1 to 24: loads, actions, strengths, section properties, stresses,
// deflections and limits, the floor vibration steps 25 to 37 when the basis
// checks vibration, then the rounded ratios, the unity ratio and the verdict,
// written to the sink (the six ratios of the fixed layout, not the three of
// vibration). A floating-point fault stops it at once: what
// was stored before stays, and nothing is shown.
CheckOutcome runDesignCheck(JoistDesign& design, bool loading, ResultSink& sink,
                            std::string_view decimalSeparator);

// Sets unityRatio to the largest positive stored ratio in force (the first in
// check order on a tie), or 0.
void findGoverningCheck(JoistDesign& design);

// The check whose ratio is the unity ratio: the first equal one in check
// order. None when no ratio is positive.
std::optional<Check> governingCheck(const JoistDesign& design);

// Copies the failure text of the first check whose ratio equals unityRatio.
void selectFailureMessage(JoistDesign& design);

} // namespace joist
