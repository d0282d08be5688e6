// The design aids' costs, each beside its floor in the same run:
// - one pass/fail evaluation against the same steps in plain float arithmetic
//   (no fault test, no text);
// - the 147-cell span table of the program's lists against as many single
//   evaluations as the table made.
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
        const auto quotient =
            static_cast<float>(double(d.*check.numerator) / double(d.*check.denominator));
        passes &= quotient <= joist::largestPassingQuotient;
    }
    return passes;
}

void passFail(benchmark::State& state)
{
    JoistDesign d = joist::testing::startExample();
    bool failing = false;
    for (auto _ : state) {
        // Alternate a passing and a failing span so both verdicts come out.
        d.span = failing ? 6.0f : 4.0f;
        failing = !failing;
        benchmark::DoNotOptimize(joist::evaluateDesign(d));
    }
}
BENCHMARK(passFail);

void passFailFloor(benchmark::State& state)
{
    JoistDesign d = joist::testing::startExample();
    bool failing = false;
    for (auto _ : state) {
        JoistDesign scratch = d;
        scratch.span = failing ? 6.0f : 4.0f;
        failing = !failing;
        benchmark::DoNotOptimize(plainPasses(scratch));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(passFailFloor);

int tableEvaluations()
{
    return joist::computeSpanTable(joist::testing::startExample(), breadths, depths, spacings)
        .evaluations;
}

void spanTable(benchmark::State& state)
{
    const JoistDesign d = joist::testing::startExample();
    for (auto _ : state)
        benchmark::DoNotOptimize(joist::computeSpanTable(d, breadths, depths, spacings));
    state.counters["evaluations"] = tableEvaluations();
}
BENCHMARK(spanTable);

// As many evaluations as the table makes, at spans spread as its searches
// spread them.
void spanTableFloor(benchmark::State& state)
{
    const int evaluations = tableEvaluations();
    JoistDesign d = joist::testing::startExample();
    for (auto _ : state) {
        for (int i = 0; i < evaluations; ++i) {
            d.span = joist::spanOfMillimetres(1 + (i * 7919) % joist::longestSpanSearched);
            benchmark::DoNotOptimize(joist::evaluateDesign(d));
        }
    }
    state.counters["evaluations"] = evaluations;
}
BENCHMARK(spanTableFloor);

} // namespace

int main(int argc, char** argv)
{
    return bench::runPaired(argc, argv);
}
