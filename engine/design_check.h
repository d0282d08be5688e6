#pragma once

// The checks of one joist, each described once in a table, and the design check
// that computes them, rounds the ratios and names the verdict.

#include <array>
#include <optional>
#include <string_view>

#include "engine/enum_count.h"
#include "engine/float_status.h"
#include "engine/joist_design.h"
#include "engine/translatable_text.h"

namespace joist {

// The checks in check order: the one order in which ratios are formed, the
// unity ratio is found and the failing check is named. The three floor
// vibration checks take part only when the design basis checks vibration, the
// three under the concentrated load only when it checks that.
enum class Check {
    u2,
    u2Fin,
    uNetFin,
    bending,
    shear,
    bearing,
    f1,
    w,
    v,
    pointBending,
    pointShear,
    pointBearing,
    count, // how many there are
};

// What a check checks: how it is grouped on screen, on the sheet and in the
// design basis, and whether the basis puts it in force.
enum class CheckKind {
    deflection, // serviceability: the design basis sets its limit
    strength,   // ultimate limit state
    vibration,  // in force only while the design basis checks floor vibration
    pointLoad,  // in force only while it checks the concentrated imposed load
};

// The flag of the design basis that puts a kind of check in force; none for
// the kinds always in force.
constexpr bool DesignBasis::*flagOfKind(CheckKind kind)
{
    switch (kind) {
    case CheckKind::vibration:
        return &DesignBasis::vibration;
    case CheckKind::pointLoad:
        return &DesignBasis::pointLoad;
    default:
        return nullptr;
    }
}

// The labels a completed check writes: one for each check, the overall ratio
// and the verdict. `count` is how many there are.
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
    // Under the concentrated imposed load, shown only while the basis checks it.
    pointBending,
    pointShear,
    pointBearing,
    count,
};
inline constexpr std::size_t resultLabelCount = static_cast<std::size_t>(ResultLabel::count);

// Everything about one check, written once: what it divides, where the
// ratio goes, and how it is named and worked on screen and on the sheet.
// Symbols write decimals with a full stop; a reader localises them. Captions,
// failure texts, units and legend names are marked for translation; keys,
// symbols and clauses are not.
struct CheckDefinition
{
    Check check;
    CheckKind kind;
    std::string_view key; // in the command line's output: "bending", "u2Fin"
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

inline constexpr auto checkDefinitions = std::to_array<CheckDefinition>({
    {Check::u2, CheckKind::deflection, "u2", &JoistDesign::uInstQ, &JoistDesign::limitU2,
     &JoistDesign::ratioU2, ResultLabel::u2, JOIST_TR_NOOP("Check", "u 2"),
     JOIST_TR_NOOP("Check", "Joist fails in deflection: u 2"), "u inst,Q", "L/300",
     JOIST_TR_NOOP("Check", "mm"), "7.2, 2.2.3", 'U', JOIST_TR_NOOP("Check", "u 2"), 3},
    {Check::u2Fin, CheckKind::deflection, "u2Fin", &JoistDesign::uFinQ, &JoistDesign::limitU2Fin,
     &JoistDesign::ratioU2Fin, ResultLabel::u2Fin, JOIST_TR_NOOP("Check", "u 2,fin"),
     JOIST_TR_NOOP("Check", "Joist fails in deflection: u 2,fin"), "u fin,Q", "L/200",
     JOIST_TR_NOOP("Check", "mm"), "7.2, 2.2.3", 'F', JOIST_TR_NOOP("Check", "u 2,fin"), 3},
    {Check::uNetFin, CheckKind::deflection, "uNetFin", &JoistDesign::uNetFin,
     &JoistDesign::limitUNetFin, &JoistDesign::ratioUNetFin, ResultLabel::uNetFin,
     JOIST_TR_NOOP("Check", "u net,fin"),
     JOIST_TR_NOOP("Check", "Joist fails in deflection: u net,fin"), "u fin,G + u fin,Q \u2212 u0",
     "L/200", JOIST_TR_NOOP("Check", "mm"), "7.2, 2.2.3", 'N', JOIST_TR_NOOP("Check", "u net,fin"),
     3},
    {Check::bending, CheckKind::strength, "bending", &JoistDesign::bendingStress, &JoistDesign::fmd,
     &JoistDesign::ratioBending, ResultLabel::bending, JOIST_TR_NOOP("Check", "Bending"),
     JOIST_TR_NOOP("Check", "Joist fails in bending"), "\u03C3m,d", "fm,d",
     JOIST_TR_NOOP("Check", "N/mm\u00B2"), "6.1.6", 'B', JOIST_TR_NOOP("Check", "bending"), 2},
    {Check::shear, CheckKind::strength, "shear", &JoistDesign::shearStress, &JoistDesign::fvd,
     &JoistDesign::ratioShear, ResultLabel::shear, JOIST_TR_NOOP("Check", "Shear"),
     JOIST_TR_NOOP("Check", "Joist fails in shear"), "\u03C4d = 1.5 V/A", "fv,d",
     JOIST_TR_NOOP("Check", "N/mm\u00B2"), "6.1.7", 'S', JOIST_TR_NOOP("Check", "shear"), 1},
    {Check::bearing, CheckKind::strength, "bearing", &JoistDesign::bearingStress,
     &JoistDesign::bearingResistance, &JoistDesign::ratioBearing, ResultLabel::bearing,
     JOIST_TR_NOOP("Check", "Bearing"), JOIST_TR_NOOP("Check", "Joist fails in bearing"),
     "\u03C3c,90,d", "fc,90,d", JOIST_TR_NOOP("Check", "N/mm\u00B2"), "6.1.5", 'C',
     JOIST_TR_NOOP("Check", "bearing"), 1},
    {Check::f1, CheckKind::vibration, "f1", &JoistDesign::f1Min, &JoistDesign::f1,
     &JoistDesign::ratioF1, ResultLabel::f1, JOIST_TR_NOOP("Check", "f1"),
     JOIST_TR_NOOP("Check", "Joist fails in vibration: f1"), "f1,min", "f1",
     JOIST_TR_NOOP("Check", "Hz"), "7.3.3", 'V', JOIST_TR_NOOP("Check", "vibration"), 2},
    {Check::w, CheckKind::vibration, "w", &JoistDesign::w, &JoistDesign::a, &JoistDesign::ratioW,
     ResultLabel::w, JOIST_TR_NOOP("Check", "w"),
     JOIST_TR_NOOP("Check", "Joist fails in vibration: w"), "w", "a",
     JOIST_TR_NOOP("Check", "mm/kN"), "7.3.3", 'V', JOIST_TR_NOOP("Check", "vibration"), 4},
    {Check::v, CheckKind::vibration, "v", &JoistDesign::v, &JoistDesign::vLimit,
     &JoistDesign::ratioV, ResultLabel::v, JOIST_TR_NOOP("Check", "v"),
     JOIST_TR_NOOP("Check", "Joist fails in vibration: v"), "v", "v,lim",
     JOIST_TR_NOOP("Check", "m/(N s\u00B2)"), "7.3.3", 'V', JOIST_TR_NOOP("Check", "vibration"), 0},
    // Under the point load bending grows as L from its own share and as L^2
    // from the permanent load's, mostly the first; shear and bearing hardly
    // grow at all.
    {Check::pointBending, CheckKind::pointLoad, "pointBending", &JoistDesign::pointBendingStress,
     &JoistDesign::fmd, &JoistDesign::ratioPointBending, ResultLabel::pointBending,
     JOIST_TR_NOOP("Check", "Bending under the point load"),
     JOIST_TR_NOOP("Check", "Joist fails in point-load bending"), "\u03C3m,d", "fm,d",
     JOIST_TR_NOOP("Check", "N/mm\u00B2"), "6.1.6", 'P',
     JOIST_TR_NOOP("Check", "point load bending"), 1},
    {Check::pointShear, CheckKind::pointLoad, "pointShear", &JoistDesign::pointShearStress,
     &JoistDesign::fvd, &JoistDesign::ratioPointShear, ResultLabel::pointShear,
     JOIST_TR_NOOP("Check", "Shear under the point load"),
     JOIST_TR_NOOP("Check", "Joist fails in point-load shear"), "\u03C4d = 1.5 V/A", "fv,d",
     JOIST_TR_NOOP("Check", "N/mm\u00B2"), "6.1.7", 'Q', JOIST_TR_NOOP("Check", "point load shear"),
     0},
    {Check::pointBearing, CheckKind::pointLoad, "pointBearing", &JoistDesign::pointBearingStress,
     &JoistDesign::bearingResistance, &JoistDesign::ratioPointBearing, ResultLabel::pointBearing,
     JOIST_TR_NOOP("Check", "Bearing under the point load"),
     JOIST_TR_NOOP("Check", "Joist fails in point-load bearing"), "\u03C3c,90,d", "fc,90,d",
     JOIST_TR_NOOP("Check", "N/mm\u00B2"), "6.1.5", 'R',
     JOIST_TR_NOOP("Check", "point load bearing"), 0},
});

// Each check's row stands at its place in check order, and each has a label
// of its own: a row missing, out of place or twice is a build error.
consteval bool checksAreInOrderWithTheirOwnLabels()
{
    if (checkDefinitions.size() != enumCount<Check> ||
        resultLabelCount != checkDefinitions.size() + 2)
        return false;
    for (std::size_t i = 0; i < checkDefinitions.size(); ++i) {
        const CheckDefinition& row = checkDefinitions[i];
        if (static_cast<std::size_t>(row.check) != i || row.label == ResultLabel::unityRatio ||
            row.label == ResultLabel::governedBy || row.key.empty())
            return false;
        for (std::size_t j = 0; j < i; ++j) {
            if (checkDefinitions[j].label == row.label || checkDefinitions[j].key == row.key)
                return false;
        }
    }
    return true;
}
static_assert(
    checksAreInOrderWithTheirOwnLabels(),
    "checkDefinitions: one row per Check, in order, each with its own ResultLabel and key");

constexpr const CheckDefinition& definitionOf(Check check)
{
    return checkDefinitions[static_cast<std::size_t>(check)];
}
inline constexpr bool isVibrationCheck(Check check)
{
    return definitionOf(check).kind == CheckKind::vibration;
}

// Whether the basis puts a check in force.
constexpr bool inForce(const CheckDefinition& check, const DesignBasis& basis)
{
    const bool DesignBasis::*flag = flagOfKind(check.kind);
    return !flag || basis.*flag;
}

// The check that writes a label, or none for the overall ratio and verdict.
constexpr std::optional<Check> checkOfLabel(ResultLabel label)
{
    for (const CheckDefinition& check : checkDefinitions) {
        if (check.label == label)
            return check.check;
    }
    return std::nullopt;
}
// Whether the basis gives a label a result: the overall ratio and the verdict
// always have one.
constexpr bool labelInForce(ResultLabel label, const DesignBasis& basis)
{
    const std::optional<Check> check = checkOfLabel(label);
    return !check || inForce(definitionOf(*check), basis);
}

// The flag of the basis a label's result depends on, or none.
constexpr bool DesignBasis::*flagOfLabel(ResultLabel label)
{
    const std::optional<Check> check = checkOfLabel(label);
    return check ? flagOfKind(definitionOf(*check).kind) : nullptr;
}

// The results in the order the command line writes them: each check's ratio,
// in label order, then the overall ratio and the verdict.
inline constexpr std::array<ResultLabel, resultLabelCount> outputOrder = [] {
    std::array<ResultLabel, resultLabelCount> order{};
    std::size_t next = 0;
    for (std::size_t label = 0; label < resultLabelCount; ++label) {
        if (checkOfLabel(static_cast<ResultLabel>(label)))
            order[next++] = static_cast<ResultLabel>(label);
    }
    order[next++] = ResultLabel::unityRatio;
    order[next] = ResultLabel::governedBy;
    return order;
}();

// A label's key in the command line's output.
constexpr std::string_view resultKey(ResultLabel label)
{
    if (const std::optional<Check> check = checkOfLabel(label))
        return definitionOf(*check).key;
    return label == ResultLabel::unityRatio ? "overall" : "verdict";
}

// Whether a check takes part in the ratios, the unity ratio and the verdict
// of this design.
inline bool inForce(const CheckDefinition& check, const JoistDesign& design)
{
    return inForce(check, design.basis);
}

inline constexpr std::string_view passText = JOIST_TR_NOOP("Check", "Joist Passes");

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
    // 1 to 23, 24 for a ratio, 25 to 37 for vibration, 38 to 43 shear and
    // bearing, 44 to 49 the point load
    int step = 0;
    std::optional<Check> ratio; // the ratio whose division faulted, at step 24
    FaultKind fault = FaultKind::invalidOperation;

    bool completed() const { return status == Status::completed; }
    bool stopped() const { return status == Status::stopped; }
};

// Steps 1 to 24: loads, actions, strengths, section properties, stresses,
// deflections and limits, the floor vibration steps 25 to 37 when the basis
// checks vibration, then the rounded ratios, the unity ratio and the verdict,
// written to the sink: the label of each check in force, then the overall
// ratio and the verdict. A floating-point fault stops it at once: what was
// stored before stays, and nothing is shown.
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
