#include <charconv>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>

#include "engine/design_aids.h"
#include "engine/design_check.h"
#include "engine/number_text.h"
#include "tests/engine_fixtures.h"

namespace joist {
namespace {

using testing::RecordingSink;
using testing::startExample;

// The oracle: the full check and the verdict it shows.
Verdict fullCheckVerdict(JoistDesign d)
{
    RecordingSink sink;
    const CheckOutcome outcome = runDesignCheck(d, false, sink, ".");
    if (!outcome.completed())
        return Verdict::stopped;
    return sink.shown[ResultLabel::governedBy] == passText ? Verdict::passes : Verdict::fails;
}

Verdict fullCheckAt(JoistDesign d, int millimetres)
{
    d.span = spanOfMillimetres(millimetres);
    return fullCheckVerdict(d);
}

TEST(DesignAids, PassLimitIsTheLastQuotientThatRoundsToOne)
{
    EXPECT_EQ(double(largestPassingQuotient), 8392802.0 / 8388608.0);
    EXPECT_EQ(formatRatio(largestPassingQuotient, "."), "1.00");
    EXPECT_EQ(formatRatio(std::nextafter(largestPassingQuotient, 2.0f), "."), "1.001");
}

TEST(DesignAids, SpanOfMillimetresIsTheNearestFloatToTheDecimal)
{
    for (int k = 1; k <= longestSpanSearched; ++k) {
        const std::string decimal =
            std::to_string(k / 1000) + "." + std::to_string(1000 + k % 1000).substr(1);
        float nearest = 0;
        std::from_chars(decimal.data(), decimal.data() + decimal.size(), nearest);
        ASSERT_EQ(spanOfMillimetres(k), nearest) << decimal;
    }
}

struct SpanCase
{
    const char* name;
    std::function<void(JoistDesign&)> change;
    LongestSpan::Kind expected;
};

// The longest span is the largest passing whole millimetre up to 30 m, by the
// full check: every span above it fails, and it passes.
TEST(DesignAids, LongestSpanIsTheLargestPassingMillimetre)
{
    using K = LongestSpan::Kind;
    const SpanCase cases[] = {
        {"start example", [](JoistDesign&) {}, K::millimetres},
        {"camber 5 mm", [](JoistDesign& d) { d.camber = 5; }, K::millimetres},
        {"camber -4 mm: short spans fail in net deflection", [](JoistDesign& d) { d.camber = -4; },
         K::millimetres},
        {"camber -40 mm: no span passes", [](JoistDesign& d) { d.camber = -40; }, K::none},
        {"heavy load: under a metre", [](JoistDesign& d) { d.liveLoad = 400; }, K::millimetres},
        {"no loads and no self-weight",
         [](JoistDesign& d) { d.deadLoad = d.liveLoad = d.rhoMean = 0; }, K::beyondRange},
        {"negative loads", [](JoistDesign& d) { d.deadLoad = d.liveLoad = -1; }, K::beyondRange},
        {"a class too weak for 1 mm",
         [](JoistDesign& d) { d.fmk = d.fc90k = d.fvk = d.e0mean = 1e-6f; }, K::none},
        {"a stopped check (g m = 0)", [](JoistDesign& d) { d.gammaM = 0; }, K::none},
        {"a stopped check (k mod = 0)", [](JoistDesign& d) { d.kmod = 0; }, K::none},
        // kc,90 = 1 until l1 = 2h: the point load's reaction fails the short
        // spans in bearing, and the longer pass.
        {"point load 3 kN on 30 mm, amended rules: short spans fail in bearing",
         [](JoistDesign& d) {
             d.basis.pointLoad = true;
             d.basis.pointLoadQk = 3;
             d.bearingLength = 30;
             d.basis.rules = Rules::amended;
             d.material = Material::softwood;
             d.rhoK = 310;
         },
         K::millimetres},
    };
    for (const SpanCase& c : cases) {
        SCOPED_TRACE(c.name);
        JoistDesign d = startExample();
        c.change(d);
        const LongestSpan found = findLongestSpan(d);
        EXPECT_EQ(found.kind, c.expected);

        int largestPassing = 0;
        for (int k = longestSpanSearched; k >= 1 && largestPassing == 0; --k) {
            if (fullCheckAt(d, k) == Verdict::passes)
                largestPassing = k;
        }
        switch (found.kind) {
        case K::millimetres:
            EXPECT_EQ(found.millimetres, largestPassing);
            EXPECT_EQ(fullCheckAt(d, found.millimetres), Verdict::passes);
            EXPECT_NE(fullCheckAt(d, found.millimetres + 1), Verdict::passes);
            break;
        case K::beyondRange:
            EXPECT_EQ(largestPassing, longestSpanSearched);
            break;
        case K::none:
            EXPECT_EQ(largestPassing, 0);
            break;
        }
    }
}

TEST(DesignAids, LightestListedSectionAtTheStartInputs)
{
    // At 4 m and 300 mm spacing, 36 x 175 (net deflection 1.06) and 44 x 150
    // fail; 36 x 200 passes and no lighter section does.
    const float breadths[] = {36, 44, 75};
    const float depths[] = {100, 115, 125, 150, 175, 200, 225};
    const JoistDesign d = startExample();
    EXPECT_EQ(findLightestSection(d, breadths, depths), (Section{36, 200}));

    JoistDesign longSpan = d;
    longSpan.span = 9;
    EXPECT_EQ(findLightestSection(longSpan, breadths, depths), std::nullopt);
    EXPECT_EQ(lightestSectionText(Section{44, 175}, ","), "44 x 175 mm");
    EXPECT_EQ(lightestSectionText(std::nullopt, "."), "none of the listed sections");
}

TEST(DesignAids, SpanTableRowsAreWidthsThenDepthsAndCellsAreLongestSpans)
{
    const float breadths[] = {36, 75};
    const float depths[] = {100, 225};
    const float spacings[] = {300, 600};
    const JoistDesign d = startExample();
    const SpanTable table = computeSpanTable(d, breadths, depths, spacings);
    ASSERT_EQ(table.sections, (std::vector<Section>{{36, 100}, {36, 225}, {75, 100}, {75, 225}}));
    ASSERT_EQ(table.cells.size(), 8u);
    JoistDesign wide = d;
    wide.breadth = 75;
    wide.depth = 100;
    wide.spacing = 600;
    EXPECT_EQ(table.cell(2, 1), findLongestSpan(wide));
    EXPECT_GT(table.evaluations, 8);
}

// The check the full check names at the first failing span, or none when it
// stops there.
std::optional<Check> fullCheckGoverning(JoistDesign d, int millimetres)
{
    d.span = spanOfMillimetres(millimetres);
    RecordingSink sink;
    if (!runDesignCheck(d, false, sink, ".").completed())
        return std::nullopt;
    for (const CheckDefinition& check : checkDefinitions) {
        if (sink.shown[ResultLabel::governedBy] == check.failureText)
            return check.check;
    }
    ADD_FAILURE() << "passes at the first failing span " << millimetres;
    return std::nullopt;
}

// Each cell's mark is the check the full check fails on at the first span
// beyond it, for every cell of a table where bearing governs (and the deeper
// joist spans less, its self-weight loading a bearing that does not grow),
// one where deflection does and one where nothing passes.
TEST(DesignAids, SpanTableMarksAreTheFullChecksGoverningCheckJustBeyond)
{
    struct MarkCase
    {
        const char* name;
        std::function<void(JoistDesign&)> change;
        std::optional<Check> expected; // in every cell
    };
    const MarkCase cases[] = {
        {"short bearings, stiff timber",
         [](JoistDesign& d) {
             d.bearingLength = 8;
             d.e0mean = 40;
         },
         Check::bearing},
        {"soft timber, long bearings",
         [](JoistDesign& d) {
             d.e0mean = 5;
             d.bearingLength = 100;
         },
         Check::uNetFin},
        {"imposed creep 0.5, no dead load: u 2 ties with u 2,fin and governs",
         [](JoistDesign& d) {
             d.e0mean = 5;
             d.bearingLength = 100;
             d.kmodQk = 0.5f;
             d.deadLoad = d.rhoMean = 0;
         },
         Check::u2},
        {"camber -40 mm: none passes, 1 mm fails", [](JoistDesign& d) { d.camber = -40; },
         Check::uNetFin},
        {"with vibration", [](JoistDesign& d) { d.basis.vibration = true; }, std::nullopt},
        {"no loads: beyond 30 m", [](JoistDesign& d) { d.deadLoad = d.liveLoad = d.rhoMean = 0; },
         std::nullopt},
    };
    const float breadths[] = {44};
    const float depths[] = {150, 225};
    const float spacings[] = {300, 600};
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(c.name);
        JoistDesign d = startExample();
        c.change(d);
        const SpanTable table = computeSpanTable(d, breadths, depths, spacings);
        for (std::size_t row = 0; row < 2; ++row) {
            for (std::size_t column = 0; column < 2; ++column) {
                JoistDesign cell = d;
                cell.depth = depths[row];
                cell.spacing = spacings[column];
                const std::optional<int> failing = firstFailingMillimetres(table.cell(row, column));
                const std::optional<Check> governing =
                    failing ? fullCheckGoverning(cell, *failing) : std::nullopt;
                EXPECT_EQ(table.governedBy(row, column), governing) << row << ", " << column;
                if (c.expected) {
                    EXPECT_EQ(governing, c.expected) << row << ", " << column;
                }
            }
        }
        if (c.expected == Check::bearing) {
            for (std::size_t column = 0; column < 2; ++column)
                EXPECT_LT(table.cell(1, column).millimetres, table.cell(0, column).millimetres);
        }
    }
}

TEST(DesignAids, SpanTexts)
{
    using K = LongestSpan::Kind;
    struct TextCase
    {
        LongestSpan span;
        const char* separator;
        const char* tooltip;
        const char* cell;
    };
    const TextCase cases[] = {
        {{K::millimetres, 4372}, ".", "4.372 m", "4.37"},
        {{K::millimetres, 4379}, ",", "4,379 m", "4,37"},
        {{K::millimetres, 4009}, ".", "4.009 m", "4.00"},
        {{K::millimetres, 999}, ".", "0.999 m", "0.99"},
        {{K::millimetres, 29999}, ",", "29,999 m", "29,99"},
        {{K::beyondRange, 0}, ",", "more than 30 m", "> 30"},
        {{K::none, 0}, ".", "none", "\u2013"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(longestSpanText(c.span, c.separator), c.tooltip);
        EXPECT_EQ(spanTableCellText(c.span, c.separator), c.cell);
    }

    struct TooltipCase
    {
        LongestSpan span;
        std::optional<Check> governing;
        const char* tooltip;
    };
    const TooltipCase tooltips[] = {
        {{K::millimetres, 4999}, Check::bearing, "4,99 m, governed by bearing at 5,00 m"},
        {{K::millimetres, 4995}, Check::u2Fin, "4,99 m, governed by u 2,fin at 4,996 m"},
        {{K::millimetres, 4989}, std::nullopt, "4,98 m, the check stops at 4,99 m"},
        {{K::none, 0}, Check::w, "no span passes, governed by vibration at 0,001 m"},
        {{K::beyondRange, 0}, std::nullopt, "more than 30 m"},
    };
    for (const TooltipCase& c : tooltips) {
        EXPECT_EQ(spanTableCellTooltip(c.span, c.governing, ","), c.tooltip);
        EXPECT_EQ(spanTableMark(c.governing),
                  c.governing ? std::string(1, definitionOf(*c.governing).mark) : "");
    }
    JoistDesign d = startExample();
    EXPECT_EQ(spanTableLegend(d), "Governed by: U = u 2 \u00B7 F = u 2,fin \u00B7 N = u net,fin "
                                  "\u00B7 B = bending \u00B7 S = shear \u00B7 C = bearing");
    d.basis.vibration = true;
    EXPECT_EQ(spanTableLegend(d), spanTableLegend(startExample()) + " \u00B7 V = vibration");
}

// A mark beside a span must not read as one more digit of it, and each
// legend entry names one mark.
TEST(SpanTableMarks, AreCapitalLettersOneForEachNameInTheLegend)
{
    for (const CheckDefinition& check : checkDefinitions) {
        EXPECT_TRUE(check.mark >= 'A' && check.mark <= 'Z') << check.caption;
        for (const CheckDefinition& other : checkDefinitions)
            EXPECT_EQ(check.mark == other.mark, check.markName == other.markName)
                << check.caption << " / " << other.caption;
    }
}

// A value for one input: mostly ordinary, sometimes 0, negative, tiny or huge.
float randomValue(std::mt19937& random, float typical)
{
    std::uniform_real_distribution<float> unit(0, 1);
    const float pick = unit(random);
    if (pick < 0.04f)
        return 0;
    if (pick < 0.08f)
        return -typical * unit(random);
    if (pick < 0.10f)
        return typical * 1e30f * unit(random);
    if (pick < 0.12f)
        return typical * 1e-30f * unit(random);
    return typical * 2 * unit(random);
}

// The aids' verdict is the full check's, on random inputs and, through the
// longest span, right at the edge between passing and failing.
TEST(DesignAids, VerdictsEqualTheFullCheckOnRandomInputs)
{
    std::mt19937 random(20261207);
    for (int i = 0; i < 20000; ++i) {
        JoistDesign d = startExample();
        for (float JoistDesign::*member :
             {&JoistDesign::fmk, &JoistDesign::fc90k, &JoistDesign::fvk, &JoistDesign::e0mean,
              &JoistDesign::rhoMean, &JoistDesign::breadth, &JoistDesign::depth,
              &JoistDesign::spacing, &JoistDesign::span, &JoistDesign::bearingLength,
              &JoistDesign::deadLoad, &JoistDesign::liveLoad, &JoistDesign::camber,
              &JoistDesign::kmod, &JoistDesign::gammaM, &JoistDesign::kmodGk, &JoistDesign::kmodQk})
            d.*member = randomValue(random, d.*member == 0 ? 5 : d.*member);
        // Every fourth with the point load, every other of those under the
        // amended rules.
        d.basis.pointLoad = i % 4 == 1 || i % 4 == 2;
        if (i % 4 == 2) {
            d.basis.rules = Rules::amended;
            d.material = Material::softwood;
            d.rhoK = 310;
        }
        ASSERT_EQ(evaluateDesign(d), fullCheckVerdict(d)) << "case " << i;
        if (i % 100 != 0)
            continue;
        const LongestSpan longest = findLongestSpan(d);
        if (longest.kind != LongestSpan::Kind::millimetres)
            continue;
        EXPECT_EQ(governingBeyond(d, longest), fullCheckGoverning(d, longest.millimetres + 1))
            << "case " << i;
        for (const int k : {longest.millimetres, longest.millimetres + 1}) {
            d.span = spanOfMillimetres(k);
            ASSERT_EQ(evaluateDesign(d), fullCheckVerdict(d)) << "case " << i << " at " << k;
        }
    }
}

} // namespace
} // namespace joist
