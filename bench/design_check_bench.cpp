// One full design check: every step, each ratio's rounding (format and read
// back) and every label's text, written into a sink that drops them; beside
// it the same check written with snprintf and strtof. And the check with
// floor vibration beside the same check without it, the check under the
// amended shear and bearing rules beside the original, and the check with
// every choice of the design basis that changes it on beside the default.
#include <benchmark/benchmark.h>

#include "bench/paired_reporter.h"
#include "bench/snprintf_floor.h"
#include "engine/design_check.h"

namespace {

class NullSink : public joist::ResultSink
{
public:
    void setResultText(joist::ResultLabel, std::string_view text) override
    {
        benchmark::DoNotOptimize(text.data());
    }
};

joist::JoistDesign startInputs()
{
    joist::JoistDesign d;
    d.fmk = 16;
    d.fc90k = 2.2f;
    d.fvk = 1.8f;
    d.e0mean = 8;
    d.rhoMean = 370;
    d.breadth = 44;
    d.depth = 225;
    d.spacing = 300;
    d.span = 4;
    d.bearingLength = 50;
    d.deadLoad = 0.4f;
    d.liveLoad = 1.5f;
    d.kmod = 0.8f;
    d.kcrit = 1;
    d.kls = 1;
    d.kh = 1;
    d.gammaM = 1.3f;
    d.kmodGk = 0.8f;
    d.kmodQk = 0.25f;
    return d;
}

void runChecks(benchmark::State& state, const joist::DesignBasis& basis)
{
    joist::JoistDesign d = startInputs();
    d.basis = basis;
    // Glulam: kh by 3.3(3) takes a power at this depth, the costliest case.
    d.material = joist::Material::glulam;
    d.rhoK = 385;
    NullSink sink;
    bool failing = false;
    for (auto _ : state) {
        // Alternate a passing and a failing span so both verdict paths run.
        d.span = failing ? 6.0f : 4.0f;
        failing = !failing;
        benchmark::DoNotOptimize(joist::runDesignCheck(d, false, sink, "."));
    }
}

void designCheck(benchmark::State& state)
{
    runChecks(state, {});
}
BENCHMARK(designCheck);

void designCheckFloor(benchmark::State& state)
{
    joist::JoistDesign d = startInputs();
    std::array<std::string, joist::resultLabelCount> labels;
    bool failing = false;
    for (auto _ : state) {
        d.span = failing ? 6.0f : 4.0f;
        failing = !failing;
        benchmark::DoNotOptimize(bench::snprintfCheck(d, labels));
        benchmark::DoNotOptimize(labels[0].data());
    }
}
BENCHMARK(designCheckFloor);

joist::DesignBasis withVibration()
{
    joist::DesignBasis basis;
    basis.vibration = true;
    return basis;
}

void vibrationCheck(benchmark::State& state)
{
    runChecks(state, withVibration());
}
BENCHMARK(vibrationCheck);

void vibrationCheckFloor(benchmark::State& state)
{
    runChecks(state, {});
}
BENCHMARK(vibrationCheckFloor);

void amendedCheck(benchmark::State& state)
{
    joist::DesignBasis basis;
    basis.rules = joist::Rules::amended;
    runChecks(state, basis);
}
BENCHMARK(amendedCheck);

void amendedCheckFloor(benchmark::State& state)
{
    runChecks(state, {});
}
BENCHMARK(amendedCheckFloor);

// Service class, category and sizes change the lists, not the check.
void everyChoiceCheck(benchmark::State& state)
{
    joist::DesignBasis basis = withVibration();
    basis.vibrationRules = joist::VibrationRules::en;
    basis.rules = joist::Rules::amended;
    basis.partitions = 0.5f;
    basis.pointLoad = true;
    runChecks(state, basis);
}
BENCHMARK(everyChoiceCheck);

void everyChoiceCheckFloor(benchmark::State& state)
{
    runChecks(state, {});
}
BENCHMARK(everyChoiceCheckFloor);

} // namespace

int main(int argc, char** argv)
{
    return bench::runPaired(argc, argv);
}
