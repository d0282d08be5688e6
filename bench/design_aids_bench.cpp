// The design aids' costs, each beside its floor in the same run:
// - one pass/fail evaluation against the same steps in plain float arithmetic
//   (no fault test, no text);
// - the 147-cell span table of the program's lists against as many single
//   evaluations as the table made, its marks' included;
// - the same two with floor vibration checked;
// - the span table with the concentrated load checked, under the amended
//   rules (its bearing on l ef), against its evaluations.
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

enum class Choice { none, vibration, pointLoad };

JoistDesign withChoice(Choice choice)
{
    JoistDesign d = joist::testing::startExample();
    d.basis.vibration = choice == Choice::vibration;
    if (choice == Choice::pointLoad) {
        d.basis.pointLoad = true;
        d.basis.rules = joist::Rules::amended;
        d.material = joist::Material::softwood;
        d.rhoK = 310;
    }
    return d;
}

void runPassFail(benchmark::State& state, Choice choice)
{
    JoistDesign d = withChoice(choice);
    bool failing = false;
    for (auto _ : state) {
        // Alternate a passing and a failing span so both verdicts come out.
        d.span = failing ? 6.0f : 4.0f;
        failing = !failing;
        benchmark::DoNotOptimize(joist::evaluateDesign(d));
    }
}

void runPassFailFloor(benchmark::State& state, Choice choice)
{
    JoistDesign d = withChoice(choice);
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
int tableEvaluations(Choice choice)
{
    const joist::SpanTable table =
        joist::computeSpanTable(withChoice(choice), breadths, depths, spacings);
    int evaluations = table.evaluations;
    for (const joist::LongestSpan& cell : table.cells)
        evaluations += joist::firstFailingMillimetres(cell) ? 1 : 0;
    return evaluations;
}

void runSpanTable(benchmark::State& state, Choice choice)
{
    const JoistDesign d = withChoice(choice);
    for (auto _ : state)
        benchmark::DoNotOptimize(joist::computeSpanTable(d, breadths, depths, spacings));
    state.counters["evaluations"] = tableEvaluations(choice);
}

// As many evaluations as the table makes, at spans spread as its searches
// spread them.
void runSpanTableFloor(benchmark::State& state, Choice choice)
{
    const int evaluations = tableEvaluations(choice);
    JoistDesign d = withChoice(choice);
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
    runPassFail(state, Choice::none);
}
BENCHMARK(passFail);
void passFailFloor(benchmark::State& state)
{
    runPassFailFloor(state, Choice::none);
}
BENCHMARK(passFailFloor);
void spanTable(benchmark::State& state)
{
    runSpanTable(state, Choice::none);
}
BENCHMARK(spanTable);
void spanTableFloor(benchmark::State& state)
{
    runSpanTableFloor(state, Choice::none);
}
BENCHMARK(spanTableFloor);

void passFailVibration(benchmark::State& state)
{
    runPassFail(state, Choice::vibration);
}
BENCHMARK(passFailVibration);
void passFailVibrationFloor(benchmark::State& state)
{
    runPassFailFloor(state, Choice::vibration);
}
BENCHMARK(passFailVibrationFloor);
void spanTableVibration(benchmark::State& state)
{
    runSpanTable(state, Choice::vibration);
}
BENCHMARK(spanTableVibration);
void spanTableVibrationFloor(benchmark::State& state)
{
    runSpanTableFloor(state, Choice::vibration);
}
BENCHMARK(spanTableVibrationFloor);

void spanTablePointLoad(benchmark::State& state)
{
    runSpanTable(state, Choice::pointLoad);
}
BENCHMARK(spanTablePointLoad);
void spanTablePointLoadFloor(benchmark::State& state)
{
    runSpanTableFloor(state, Choice::pointLoad);
}
BENCHMARK(spanTablePointLoadFloor);

} // namespace

int main(int argc, char** argv)
{
    return bench::runPaired(argc, argv);
}
