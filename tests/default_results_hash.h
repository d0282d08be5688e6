#pragma once

// A fingerprint of everything the check and the design aids give for random
// inputs with the default design basis: every member the check had before
// the basis existed, every label text in order, each outcome, longest spans,
// lightest sections and a span table. It was taken from the code before the
// basis and must not change.

#include <array>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <string_view>

#include "engine/design_aids.h"
#include "engine/design_check.h"

namespace joist::testing {

class Fingerprint
{
public:
    void add(std::string_view bytes)
    {
        for (const char c : bytes) {
            hash_ ^= static_cast<unsigned char>(c);
            hash_ *= 1099511628211ull;
        }
    }
    void add(float value) { add(std::string_view(reinterpret_cast<const char*>(&value), 4)); }
    void add(int value) { add(std::string_view(reinterpret_cast<const char*>(&value), 4)); }
    std::uint64_t value() const { return hash_; }

private:
    std::uint64_t hash_ = 14695981039346656037ull;
};

class HashingSink : public ResultSink
{
public:
    explicit HashingSink(Fingerprint& print) : print_(print) {}
    void setResultText(ResultLabel label, std::string_view text) override
    {
        print_.add(static_cast<int>(label));
        print_.add(text);
    }

private:
    Fingerprint& print_;
};

// The members of the record before the design basis, in declaration order.
inline constexpr std::array<float JoistDesign::*, 50> membersBeforeBasis{
    &JoistDesign::fmk,           &JoistDesign::fc90k,
    &JoistDesign::fvk,           &JoistDesign::e0mean,
    &JoistDesign::rhoMean,       &JoistDesign::breadth,
    &JoistDesign::depth,         &JoistDesign::spacing,
    &JoistDesign::span,          &JoistDesign::bearingLength,
    &JoistDesign::area,          &JoistDesign::sectionModulus,
    &JoistDesign::secondMoment,  &JoistDesign::selfWeight,
    &JoistDesign::designLoad,    &JoistDesign::deadLineLoad,
    &JoistDesign::liveLineLoad,  &JoistDesign::deadLoad,
    &JoistDesign::liveLoad,      &JoistDesign::designMoment,
    &JoistDesign::designShear,   &JoistDesign::bendingStress,
    &JoistDesign::bearingStress, &JoistDesign::shearStress,
    &JoistDesign::camber,        &JoistDesign::uInstG,
    &JoistDesign::uInstQ,        &JoistDesign::uFinG,
    &JoistDesign::uFinQ,         &JoistDesign::uNetFin,
    &JoistDesign::limitU2,       &JoistDesign::limitU2Fin,
    &JoistDesign::limitUNetFin,  &JoistDesign::fmd,
    &JoistDesign::fvd,           &JoistDesign::fc90d,
    &JoistDesign::kmod,          &JoistDesign::kcrit,
    &JoistDesign::kls,           &JoistDesign::kh,
    &JoistDesign::gammaM,        &JoistDesign::kmodGk,
    &JoistDesign::kmodQk,        &JoistDesign::unityRatio,
    &JoistDesign::ratioBending,  &JoistDesign::ratioShear,
    &JoistDesign::ratioBearing,  &JoistDesign::ratioU2,
    &JoistDesign::ratioU2Fin,    &JoistDesign::ratioUNetFin,
};

// `start` is the start example; `cases` random variations of it.
inline std::uint64_t defaultResultsFingerprint(const JoistDesign& start, int cases)
{
    Fingerprint print;
    std::mt19937 random(20201120);
    std::uniform_real_distribution<float> unit(0, 1);
    auto vary = [&](float typical) {
        const float pick = unit(random);
        if (pick < 0.04f)
            return 0.0f;
        if (pick < 0.08f)
            return -typical * unit(random);
        if (pick < 0.10f)
            return typical * 1e30f * unit(random);
        return typical * 2 * unit(random);
    };
    const float breadths[] = {36, 44, 75};
    const float depths[] = {100, 115, 125, 150, 175, 200, 225};
    const float spacings[] = {200, 300, 400, 450, 500, 550, 600};
    JoistDesign d = start;
    for (int i = 0; i < cases; ++i) {
        // Keeps the members of the last check, as the window's record does.
        for (float JoistDesign::*member :
             {&JoistDesign::fmk, &JoistDesign::fc90k, &JoistDesign::fvk, &JoistDesign::e0mean,
              &JoistDesign::rhoMean, &JoistDesign::breadth, &JoistDesign::depth,
              &JoistDesign::spacing, &JoistDesign::span, &JoistDesign::bearingLength,
              &JoistDesign::deadLoad, &JoistDesign::liveLoad, &JoistDesign::camber,
              &JoistDesign::kmod, &JoistDesign::gammaM, &JoistDesign::kmodGk, &JoistDesign::kmodQk})
            d.*member = vary(start.*member == 0 ? 5 : start.*member);
        HashingSink sink(print);
        const CheckOutcome outcome = runDesignCheck(d, false, sink, i % 2 ? "," : ".");
        print.add(static_cast<int>(outcome.status));
        print.add(outcome.step);
        print.add(outcome.ratio ? static_cast<int>(*outcome.ratio) : -1);
        print.add(static_cast<int>(outcome.fault));
        for (float JoistDesign::*member : membersBeforeBasis)
            print.add(d.*member);
        print.add(d.governingMessage);
        print.add(static_cast<int>(evaluateDesign(d)));
        if (i % 97 == 0) {
            print.add(longestSpanText(findLongestSpan(d), "."));
            print.add(lightestSectionText(findLightestSection(d, breadths, depths), "."));
        }
    }
    const SpanTable table = computeSpanTable(start, breadths, depths, spacings);
    for (const LongestSpan& cell : table.cells)
        print.add(spanTableCellText(cell, "."));
    return print.value();
}

} // namespace joist::testing
