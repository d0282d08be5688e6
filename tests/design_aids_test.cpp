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
        ASSERT_EQ(evaluateDesign(d), fullCheckVerdict(d)) << "case " << i;
        if (i % 100 != 0)
            continue;
        const LongestSpan longest = findLongestSpan(d);
        if (longest.kind != LongestSpan::Kind::millimetres)
            continue;
        for (const int k : {longest.millimetres, longest.millimetres + 1}) {
            d.span = spanOfMillimetres(k);
            ASSERT_EQ(evaluateDesign(d), fullCheckVerdict(d)) << "case " << i << " at " << k;
        }
    }
}

} // namespace
} // namespace joist
