// The design aids' costs, each beside its floor in the same run:
// - one pass/fail evaluation against the same steps in plain float arithmetic
//   (no fault test, no text);
// - the 147-cell span table of the program's lists against as many single
//   evaluations as the table made, its marks' included;
// - the same two with floor vibration checked.
#include <benchmark/benchmark.h>

#include "bench/paired_reporter.h"
#include "engine/check_steps.h"
#include "engine/design_aids.h"
#include "tests/engine_fixtures.h"

namespace {

using joist::JoistDesign;

// The window's lists.
constexpr float breadths[] = {36, 44, 75};
constexpr float depths[] = {100, 115, 125, 150, 175, 200, 225};
constexpr float spacings[] = {200, 300, 400, 450, 500, 550, 600};

bool plainPasses(JoistDesign& d)
{
    joist::computeSteps(d, [](int, float& member, double value) {
        member = static_cast<float>(value);
        return true;
    });
    bool passes = true;
    for (const joist::CheckDefinition& check : joist::checkDefinitions) {
        if (!joist::inForce(check, d))
            continue;
        const auto quotient =
            static_cast<float>(double(d.*check.numerator) / double(d.*check.denominator));
        passes &= quotient <= joist::largestPassingQuotient;
    }
    return passes;
}

JoistDesign withVibration(bool vibration)
{
    JoistDesign d = joist::testing::startExample();
    d.basis.vibration = vibration;
    return d;
}

void runPassFail(benchmark::State& state, bool vibration)
{
    JoistDesign d = withVibration(vibration);
    bool failing = false;
    for (auto _ : state) {
        // Alternate a passing and a failing span so both verdicts come out.
        d.span = failing ? 6.0f : 4.0f;
        failing = !failing;
        benchmark::DoNotOptimize(joist::evaluateDesign(d));
    }
}

void runPassFailFloor(benchmark::State& state, bool vibration)
{
    JoistDesign d = withVibration(vibration);
    bool failing = false;
    for (auto _ : state) {
        JoistDesign scratch = d;
        scratch.span = failing ? 6.0f : 4.0f;
        failing = !failing;
        benchmark::DoNotOptimize(plainPasses(scratch));
        benchmark::ClobberMemory();
    }
}

// The searches' checks and the marks' one more for each cell below 30 m.
int tableEvaluations(bool vibration)
{
    const joist::SpanTable table =
        joist::computeSpanTable(withVibration(vibration), breadths, depths, spacings);
    int evaluations = table.evaluations;
    for (const joist::LongestSpan& cell : table.cells)
        evaluations += joist::firstFailingMillimetres(cell) ? 1 : 0;
    return evaluations;
}

void runSpanTable(benchmark::State& state, bool vibration)
{
    const JoistDesign d = withVibration(vibration);
    for (auto _ : state)
        benchmark::DoNotOptimize(joist::computeSpanTable(d, breadths, depths, spacings));
    state.counters["evaluations"] = tableEvaluations(vibration);
}

// As many evaluations as the table makes, at spans spread as its searches
// spread them.
void runSpanTableFloor(benchmark::State& state, bool vibration)
{
    const int evaluations = tableEvaluations(vibration);
    JoistDesign d = withVibration(vibration);
    for (auto _ : state) {
        for (int i = 0; i < evaluations; ++i) {
            d.span = joist::spanOfMillimetres(1 + (i * 7919) % joist::longestSpanSearched);
            benchmark::DoNotOptimize(joist::evaluateDesign(d));
        }
    }
    state.counters["evaluations"] = evaluations;
}

void passFail(benchmark::State& state)
{
    runPassFail(state, false);
}
BENCHMARK(passFail);
void passFailFloor(benchmark::State& state)
{
    runPassFailFloor(state, false);
}
BENCHMARK(passFailFloor);
void spanTable(benchmark::State& state)
{
    runSpanTable(state, false);
}
BENCHMARK(spanTable);
void spanTableFloor(benchmark::State& state)
{
    runSpanTableFloor(state, false);
}
BENCHMARK(spanTableFloor);

void passFailVibration(benchmark::State& state)
{
    runPassFail(state, true);
}
BENCHMARK(passFailVibration);
void passFailVibrationFloor(benchmark::State& state)
{
    runPassFailFloor(state, true);
}
BENCHMARK(passFailVibrationFloor);
void spanTableVibration(benchmark::State& state)
{
    runSpanTable(state, true);
}
BENCHMARK(spanTableVibration);
void spanTableVibrationFloor(benchmark::State& state)
{
    runSpanTableFloor(state, true);
}
BENCHMARK(spanTableVibrationFloor);

} // namespace

int main(int argc, char** argv)
{
    return bench::runPaired(argc, argv);
}
