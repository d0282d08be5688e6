#pragma once

// Design aids: the inverse questions of the design check. How far can this
// joist span, which is the lightest listed section that carries this span,
// and a span table for the listed sections and spacings. Every answer rests
// on the check's own verdict for the same inputs.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/design_check.h"
#include "engine/joist_design.h"

namespace joist {

enum class Verdict {
    passes,  // the check completes with "Joist Passes"
    fails,   // the check completes with a failure text
    stopped, // a floating-point fault stops the check
};

// The verdict the design check gives for these inputs, on the same steps and
// fault test but without texts: each rounded ratio is at most 1 exactly when
// its quotient is at most largestPassingQuotient.
Verdict evaluateDesign(const JoistDesign& inputs);
// The same on the caller's scratch record, whose stored steps it overwrites.
Verdict evaluateInPlace(JoistDesign& scratch);

// The largest float whose exact value rounds to at most 1.000 under "#0.00#"
// (to three decimals, ties to even, so 1.0005 would still round to 1.000):
// 8392802 / 2^23 = 1.000499963760376.
inline constexpr float largestPassingQuotient = 0x1.0020C4p+0f;

// Spans are searched in whole millimetres from 1 mm to this.
inline constexpr int longestSpanSearched = 30000;

// The single-precision span nearest to the given millimetres, in metres.
float spanOfMillimetres(int millimetres);

struct LongestSpan
{
    enum class Kind {
        none,        // not even 1 mm passes
        millimetres, // `millimetres` passes and 1 mm more does not
        beyondRange, // 30 m passes
    };
    Kind kind = Kind::none;
    int millimetres = 0; // only for Kind::millimetres: 1 to 29,999

    friend bool operator==(const LongestSpan&, const LongestSpan&) = default;
};

// The largest whole number of millimetres, up to 30 m, at which the check of
// these inputs with that span passes. Everything but the span comes from the
// inputs.
LongestSpan findLongestSpan(const JoistDesign& inputs);

// The first whole millimetre that fails above a longest span: 1 mm more, or
// 1 mm when none passes; none beyond 30 m.
std::optional<int> firstFailingMillimetres(const LongestSpan& span);

// What stops a longer span: the check with the largest ratio, as the check
// rounds and stores it, at the first span that fails, the earlier in check
// order on a tie. None beyond 30 m, or when the check stops there.
std::optional<Check> governingBeyond(const JoistDesign& inputs, const LongestSpan& span);

struct Section
{
    float breadth = 0; // mm
    float depth = 0;   // mm

    friend bool operator==(const Section&, const Section&) = default;
};

// Among every listed width with every listed depth, the section with the
// smallest area that passes at the span and spacing of the inputs; on equal
// areas the smaller depth. Nullopt when none passes.
std::optional<Section> findLightestSection(const JoistDesign& inputs,
                                           std::span<const float> breadths,
                                           std::span<const float> depths);

// Every listed width with every listed depth, in the order the lightest
// section is searched: by area, on equal areas the smaller depth.
std::vector<Section> sectionsByArea(std::span<const float> breadths, std::span<const float> depths);

// The first of these sections that passes, for a caller that asks often.
std::optional<Section> findLightestSection(const JoistDesign& inputs,
                                           std::span<const Section> byArea);

// Why these loads load no joist, so that no span or section is a design
// answer for them: a negative load (an input the check's design load takes
// beyond the joist's own weight), or a net design load, as the check's steps
// compute it, that does not act downward. Nothing when they do.
std::optional<std::string_view> loadProblem(const JoistDesign& inputs);

// The two answers the verdict's tooltip and the command line give, or why
// there is none.
struct DesignAids
{
    LongestSpan longestSpan;
    std::optional<Section> lightestSection;   // among the listed widths and depths
    std::optional<std::string_view> noAnswer; // the load problem, when there is one
};

// The longest span of every listed section (rows: each width in list order,
// and within it each depth in list order) at every listed spacing (columns).
struct SpanTable
{
    std::vector<Section> sections;
    std::vector<float> spacings;
    std::vector<LongestSpan> cells;              // row by row
    std::vector<std::optional<Check>> governing; // beside each cell: governingBeyond
    // How many checks the searches took; the marks take one more for each
    // cell below 30 m.
    int evaluations = 0;

    const LongestSpan& cell(std::size_t row, std::size_t column) const
    {
        return cells[row * spacings.size() + column];
    }
    std::optional<Check> governedBy(std::size_t row, std::size_t column) const
    {
        return governing[row * spacings.size() + column];
    }
};

SpanTable computeSpanTable(const JoistDesign& inputs, std::span<const float> breadths,
                           std::span<const float> depths, std::span<const float> spacings);

// "4.372 m", "more than 30 m" or "none".
std::string longestSpanText(const LongestSpan& span, std::string_view decimalSeparator);

// A span table cell: metres with two decimals rounded down ("4.37"), "> 30"
// or an en dash when nothing passes.
std::string spanTableCellText(const LongestSpan& span, std::string_view decimalSeparator);

// A span table cell's tooltip: "4.99 m, governed by bearing at 5.00 m",
// "4.99 m, the check stops at 5.00 m", "no span passes, governed by shear at
// 0.001 m" or "more than 30 m".
std::string spanTableCellTooltip(const LongestSpan& span, std::optional<Check> governing,
                                 std::string_view decimalSeparator);

// The mark beside a span table cell: the governing check's letter, or empty.
std::string_view spanTableMark(std::optional<Check> governing);

// The marks of the checks in force for these inputs, each once, in check
// order: "Governed by: 1 u 2 · 2 u 2,fin · ... · C bearing".
std::string spanTableLegend(const JoistDesign& inputs);

// "44 x 175", widths and depths in mm.
std::string sectionText(const Section& section, std::string_view decimalSeparator);

// "44 x 175 mm" or "none of the listed sections".
std::string lightestSectionText(const std::optional<Section>& section,
                                std::string_view decimalSeparator);

} // namespace joist
