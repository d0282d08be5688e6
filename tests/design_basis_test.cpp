#include <cmath>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <tuple>

#include "engine/design_aids.h"
#include "engine/design_check.h"
#include "engine/design_inputs.h"
#include "engine/stop_reason.h"
#include "tests/default_results_hash.h"
#include "tests/engine_fixtures.h"

namespace joist {
namespace {

using testing::RecordingSink;
using testing::startExample;

std::string fourDigits(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", double(value));
    return text;
}

// The results of the code before the design basis existed. (Taken again
// when the hash stopped counting the span table's evaluations, from code
// that matched the first value: how many checks a search takes is not a
// result.)
constexpr std::uint64_t fingerprintBeforeBasis = 0xedc3cd9fd24403a7;

TEST(DesignBasis, DefaultsGiveTheResultsOfTheCheckBeforeTheBasis)
{
    EXPECT_EQ(testing::defaultResultsFingerprint(startExample(), 20000), fingerprintBeforeBasis);
    // The floor's inputs count only while vibration is checked.
    JoistDesign unchecked = startExample();
    unchecked.basis.floorWidth = 9;
    unchecked.basis.damping = 0.1f;
    unchecked.basis.strutting = true;
    EXPECT_EQ(testing::defaultResultsFingerprint(unchecked, 2000),
              testing::defaultResultsFingerprint(startExample(), 2000));
}

// Movable partitions are imposed load: the same check as a live load that
// much larger.
// A field of the basis takes part in the check where it is in force: a
// number, cap or flag changed there changes some step; a choice changes some
// step or what a list offers; only the table changes neither (it chooses
// the class's values). A row whose member no step reads fails here.
TEST(DesignBasis, EveryFieldChangesTheCheckWhereInForce)
{
    for (const BasisField& field : basisFields) {
        SCOPED_TRACE(field.key);
        if (field.choice == &tableChoice)
            continue;
        DesignBasis basis;
        basis.vibration = basis.pointLoad = true;
        basis.serviceClass = ServiceClass::one; // the category chooses psi2 then
        if (field.when.choice && !field.when.otherThan)
            field.when.choice->set(basis, field.when.value);
        ASSERT_TRUE(inForce(field, basis, false));
        DesignBasis changed = basis;
        if (field.number) {
            const std::optional<LimitRange> range = rangeOf(field.number);
            const float middle = range ? (range->least + range->most) / 2 : 0;
            changed.*field.number = !range                          ? basis.*field.number * 0.9f
                                    : basis.*field.number != middle ? middle
                                                                    : range->least;
        } else if (field.cap) {
            changed.*field.cap = 0.5f;
        } else if (field.flag) {
            changed.*field.flag = !(basis.*field.flag);
        } else {
            field.choice->set(changed,
                              field.choice->get(basis) == 0 ? field.choice->texts.size() - 1 : 0);
        }
        const auto checked = [](const DesignBasis& b) {
            JoistDesign d = startExample();
            d.spacing = 600; // where strutting spreads the load over fewer joists
            d.basis = b;
            RecordingSink sink;
            runDesignCheck(d, false, sink, ".");
            d.basis = {};
            return d;
        };
        bool listsChange = false;
        for (const InputFacts& input : inputFacts())
            listsChange =
                listsChange || extraListItems(input.input, basis, Material::softwood) !=
                                   extraListItems(input.input, changed, Material::softwood);
        EXPECT_TRUE(!(checked(basis) == checked(changed)) || (field.choice && listsChange));
    }
}

TEST(DesignBasis, PartitionsAddToTheImposedLoad)
{
    JoistDesign partitions = startExample();
    partitions.basis.partitions = 0.5f;
    JoistDesign heavier = startExample();
    heavier.liveLoad = 2.0f;
    RecordingSink sink;
    ASSERT_TRUE(runDesignCheck(partitions, false, sink, ".").completed());
    ASSERT_TRUE(runDesignCheck(heavier, false, sink, ".").completed());
    EXPECT_EQ(partitions.unityRatio, heavier.unityRatio);
    EXPECT_EQ(partitions.uFinQ, heavier.uFinQ);
    EXPECT_EQ(findLongestSpan(partitions).millimetres, findLongestSpan(heavier).millimetres);
}

// A C24 floor, as in the worked check.
JoistDesign c24Floor(float span, float depth, float deadLoad)
{
    JoistDesign d = startExample();
    d.fmk = 24;
    d.fc90k = 2.5f;
    d.fvk = 4;
    d.e0mean = 11;
    d.rhoMean = 420;
    d.breadth = 47;
    d.depth = depth;
    d.spacing = 400;
    d.span = span;
    d.deadLoad = deadLoad;
    d.basis.vibration = true;
    return d;
}

TEST(DesignBasis, FloorVibrationCases)
{
    struct Case
    {
        const char* name;
        JoistDesign design;
        const char* f1;
        const char* w;
        const char* a;
        const char* v;
        const char* vLimit;
        const char* verdict;
    };
    JoistDesign wide = c24Floor(6.826f, 225, 0.4f);
    wide.breadth = 75;
    JoistDesign wideBeyond = wide;
    wideBeyond.span = 6.827f;
    JoistDesign strutted = c24Floor(4, 200, 0.5f);
    strutted.basis.strutting = true;
    const Case cases[] = {
        {"worked check", c24Floor(5, 225, 0.4f), "9.662", "1.95", "1.408", "0.0157", "0.02365",
         "Joist fails in vibration: w"},
        {"worked check at 4 m", c24Floor(4, 200, 0.5f), "11.68", "1.421", "1.8", "0.01706",
         "0.03235", "Joist Passes"},
        {"strutting takes 3 % off w", strutted, "11.68", "1.379", "1.8", "0.01706", "0.03235",
         "Joist Passes"},
        {"f1 just above 8 Hz", c24Floor(5.49f, 225, 0.4f), "8.015", "2.581", "1.27", "0.01457",
         "0.01943", "Joist fails in vibration: w"},
        {"a at 4000 mm", c24Floor(4, 225, 0.4f), "15.1", "0.9984", "1.8", "0.01846", "0.04392",
         "Joist Passes"},
        {"a past 4000 mm", c24Floor(4.001f, 225, 0.4f), "15.09", "0.9991", "1.799", "0.01846",
         "0.04388", "Joist Passes"},
        {"a just above 1", wide, "6.168", "3.109", "0.9998", "0.01121", "0.01504",
         "Joist fails in vibration: w"},
        {"a just below 1", wideBeyond, "6.166", "3.111", "0.9996", "0.01121", "0.01504",
         "Joist fails in vibration: w"},
        {"f1 over 40 Hz: n40 is 0", c24Floor(1.5f, 225, 0.4f), "107.4", "0.05265", "1.8",
         "0.003129", "170.1", "Joist Passes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JoistDesign d = c.design;
        RecordingSink sink;
        ASSERT_TRUE(runDesignCheck(d, false, sink, ".").completed());
        EXPECT_EQ(fourDigits(d.f1), c.f1);
        EXPECT_EQ(fourDigits(d.w), c.w);
        EXPECT_EQ(fourDigits(d.a), c.a);
        EXPECT_EQ(fourDigits(d.v), c.v);
        EXPECT_EQ(fourDigits(d.vLimit), c.vLimit);
        EXPECT_EQ(sink.shown[ResultLabel::governedBy], c.verdict);
        EXPECT_EQ(fourDigits(d.kdist), c.design.basis.strutting ? "0.3395" : "0.35");
        // The three ratios are rounded like the six and take part in the unity ratio.
        for (const auto& [ratio, quotient] : {std::pair{d.ratioF1, 8 / double(d.f1)},
                                              {d.ratioW, double(d.w) / d.a},
                                              {d.ratioV, double(d.v) / d.vLimit}})
            EXPECT_NEAR(ratio, quotient, 0.0005 + 1e-6);
        EXPECT_GE(d.unityRatio, std::max({d.ratioF1, d.ratioW, d.ratioV}));
        EXPECT_EQ(d.n40 == 0, d.f1 >= 40);
    }
}

// Under EN 1995-1-1's rules a and b are the basis's (1.5 and 100) whatever
// the span; f1, w and v stay, and under the UK National Annex's rules the
// basis's a and b count for nothing.
TEST(DesignBasis, VibrationRulesChooseAAndB)
{
    for (const auto& [span, rules] : {std::pair{4.0f, VibrationRules::en},
                                      {4.5f, VibrationRules::en},
                                      {4.5f, VibrationRules::ukNa}}) {
        JoistDesign uk = c24Floor(span, 225, 0.4f);
        JoistDesign d = uk;
        d.basis.vibrationRules = rules;
        RecordingSink sink;
        ASSERT_TRUE(runDesignCheck(uk, false, sink, ".").completed());
        ASSERT_TRUE(runDesignCheck(d, false, sink, ".").completed());
        EXPECT_EQ(std::tuple(d.f1, d.w, d.v), std::tuple(uk.f1, uk.w, uk.v));
        EXPECT_EQ(std::pair(d.a, d.b),
                  rules == VibrationRules::en ? std::pair(1.5f, 100.0f) : std::pair(uk.a, uk.b));
        EXPECT_FLOAT_EQ(d.vLimit, float(std::pow(double(d.b), double(d.f1) * 0.02 - 1)));
        EXPECT_NEAR(d.ratioW, double(d.w) / d.a, 0.0005 + 1e-6);
    }
}

TEST(DesignBasis, F1RatioCrossesOneAtEightHertz)
{
    JoistDesign below = c24Floor(5.49f, 225, 0.4f);
    JoistDesign above = c24Floor(5.5f, 225, 0.4f);
    RecordingSink sink;
    ASSERT_TRUE(runDesignCheck(below, false, sink, ".").completed());
    ASSERT_TRUE(runDesignCheck(above, false, sink, ".").completed());
    EXPECT_EQ(below.ratioF1, 0.998f);
    EXPECT_EQ(above.ratioF1, 1.002f);
}

TEST(DesignBasis, LimitsFollowTheDivisorsAndCaps)
{
    struct Case
    {
        const char* name;
        std::function<void(DesignBasis&)> change;
        float u2, u2Fin, uNetFin;
    };
    const Case cases[] = {
        {"defaults at 5 m", [](DesignBasis&) {}, 5000.0f / 300, 25, 25},
        {"net final L/300", [](DesignBasis& b) { b.uNetFinDivisor = 300; }, 5000.0f / 300, 25,
         5000.0f / 300},
        {"caps below and above",
         [](DesignBasis& b) {
             b.u2Cap = 12;
             b.u2FinCap = 30;
         },
         12, 25, 25},
        {"divisor and cap",
         [](DesignBasis& b) {
             b.uNetFinDivisor = 250;
             b.uNetFinCap = 14;
         },
         5000.0f / 300, 25, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JoistDesign d = startExample();
        d.span = 5;
        c.change(d.basis);
        RecordingSink sink;
        ASSERT_TRUE(runDesignCheck(d, false, sink, ".").completed());
        EXPECT_EQ(d.limitU2, c.u2);
        EXPECT_EQ(d.limitU2Fin, c.u2Fin);
        EXPECT_EQ(d.limitUNetFin, c.uNetFin);
    }
    // A tighter limit fails what the default passes.
    JoistDesign d = startExample();
    d.basis.uNetFinDivisor = 500;
    RecordingSink sink;
    ASSERT_TRUE(runDesignCheck(d, false, sink, ".").completed());
    EXPECT_EQ(sink.shown[ResultLabel::governedBy], "Joist fails in deflection: u net,fin");
}

TEST(DesignBasis, VibrationFaultStopsTheCheckNamingItsInputs)
{
    JoistDesign d = c24Floor(4, 200, -2); // a negative floor mass
    RecordingSink sink;
    const CheckOutcome outcome = runDesignCheck(d, false, sink, ".");
    ASSERT_TRUE(outcome.stopped());
    EXPECT_EQ(outcome.step, 29);
    EXPECT_TRUE(sink.writes.empty());
    const StopReason reason = stopReason(outcome, d);
    EXPECT_EQ(reason.kind, StopReason::Kind::noValidResult);
    EXPECT_EQ(reason.inputs.front(), Input::span);
    d.basis.vibration = false; // the same inputs check without it
    EXPECT_TRUE(runDesignCheck(d, false, sink, ".").completed());
}

// A divisor or cap far outside its range stops the check: the stop names it,
// not the span, loads or section.
TEST(DesignBasis, StopCausedByALimitNamesIt)
{
    const struct
    {
        float DesignBasis::*divisor;
        std::optional<float> DesignBasis::*cap;
        float value;
        const char* named;
    } cases[] = {
        {&DesignBasis::u2Divisor, nullptr, 1e-40f, "u 2 limit's span divisor"},
        {&DesignBasis::u2FinDivisor, nullptr, 1e-38f, "u 2,fin limit's span divisor"},
        {nullptr, &DesignBasis::uNetFinCap, 1e-44f, "u net,fin limit's cap"},
    };
    for (const auto& c : cases) {
        JoistDesign d = startExample();
        if (c.divisor)
            d.basis.*c.divisor = c.value;
        else
            d.basis.*c.cap = c.value;
        RecordingSink sink;
        const CheckOutcome outcome = runDesignCheck(d, false, sink, ".");
        ASSERT_TRUE(outcome.stopped()) << c.named;
        const std::string why = describeStop(stopReason(outcome, d), [](Input input) {
            return std::to_string(static_cast<int>(input));
        });
        EXPECT_NE(why.find(c.named), std::string::npos) << why;
    }
}

// With vibration checked, v's ratio rises and then falls with the span, so
// the spans that pass need not form one run; the search must still find the
// largest passing millimetre, as a scan of every millimetre does.
TEST(DesignBasis, LongestSpanEqualsAScanOfEveryMillimetre)
{
    struct Case
    {
        const char* name;
        std::function<void(JoistDesign&)> change;
    };
    const Case cases[] = {
        {"vibration at defaults", [](JoistDesign&) {}},
        {"low damping: v governs", [](JoistDesign& d) { d.basis.damping = 0.005f; }},
        {"v fails in the middle only",
         [](JoistDesign& d) {
             d.basis.damping = 0.008f;
             d.basis.kamp = 0.05f;
             d.e0mean = 40;
         }},
        {"wide floor, strutting, heavy deck",
         [](JoistDesign& d) {
             d.basis.floorWidth = 9;
             d.basis.strutting = true;
             d.basis.deckThickness = 40;
             d.basis.damping = 0.01f;
         }},
        {"negative camber and vibration", [](JoistDesign& d) { d.camber = -6; }},
        {"changed limits, no vibration",
         [](JoistDesign& d) {
             d.basis.vibration = false;
             d.basis.uNetFinDivisor = 300;
             d.basis.u2Cap = 9;
         }},
        {"changed limits with vibration",
         [](JoistDesign& d) {
             d.basis.u2FinDivisor = 350;
             d.basis.uNetFinCap = 12;
             d.basis.damping = 0.007f;
         }},
        {"no loads: f1 and w still bound it", [](JoistDesign& d) { d.deadLoad = d.liveLoad = 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JoistDesign d = c24Floor(4, 225, 0.4f);
        d.breadth = 75;
        c.change(d);
        int scanned = 0;
        for (int k = longestSpanSearched; k >= 1 && scanned == 0; --k) {
            d.span = spanOfMillimetres(k);
            if (evaluateDesign(d) == Verdict::passes)
                scanned = k;
        }
        const LongestSpan found = findLongestSpan(d);
        if (scanned == longestSpanSearched)
            EXPECT_EQ(found.kind, LongestSpan::Kind::beyondRange);
        else if (scanned == 0)
            EXPECT_EQ(found.kind, LongestSpan::Kind::none);
        else
            EXPECT_EQ(found, (LongestSpan{LongestSpan::Kind::millimetres, scanned}));
    }
}

// The aids' verdict with vibration is the full check's.
TEST(DesignBasis, AidVerdictsEqualTheFullCheckWithVibration)
{
    std::mt19937 random(7330);
    std::uniform_real_distribution<float> unit(0, 2);
    for (int i = 0; i < 20000; ++i) {
        JoistDesign d = c24Floor(unit(random) * 5, 225 * unit(random), unit(random) - 0.3f);
        d.basis.damping = 0.02f * unit(random);
        d.basis.floorWidth = 4 * unit(random);
        d.basis.kamp = unit(random);
        d.basis.u2Cap = 20 * unit(random);
        RecordingSink sink;
        JoistDesign full = d;
        const CheckOutcome outcome = runDesignCheck(full, false, sink, ".");
        const Verdict expected = !outcome.completed() ? Verdict::stopped
                                 : sink.shown[ResultLabel::governedBy] == passText ? Verdict::passes
                                                                                   : Verdict::fails;
        ASSERT_EQ(evaluateDesign(d), expected) << "case " << i;
    }
}

} // namespace
} // namespace joist
