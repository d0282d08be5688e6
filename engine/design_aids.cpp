#include "engine/design_aids.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <list>
#include <string>
#include <utility>

#include "engine/check_steps.h"
#include "engine/design_inputs.h"
#include "engine/number_text.h"
#include "engine/stop_reason.h"

namespace joist {
namespace {

constexpr std::uint16_t bitOf(Check check)
{
    return static_cast<std::uint16_t>(1u << static_cast<unsigned>(check));
}

struct Evaluation
{
    Verdict verdict = Verdict::stopped;
    std::uint16_t failingChecks = 0;
};

// Works on the caller's scratch record, which keeps the stored steps.
Evaluation evaluate(JoistDesign& d)
{
    clearFloatFaults();
    computeSteps(d, UntestedSteps{});
    // Every ratio is formed, as in the full check, which a later ratio's
    // fault stops even after an earlier ratio failed.
    Evaluation result{Verdict::passes, 0};
    for (const CheckDefinition& check : checkDefinitions) {
        if (inForce(check, d) && ratioQuotient(d, check) > largestPassingQuotient)
            result.failingChecks |= bitOf(check.check);
    }
    if (raisedFloatFault())
        return {};
    if (result.failingChecks != 0)
        result.verdict = Verdict::fails;
    return result;
}

// Where one span lies against the spans that pass. Every ratio but the net
// final deflection and the vibration velocity v grows with the span or never
// exceeds 1. The net final deflection is (u - camber) / (L/200) with
// u = a L^4, which for a negative camber falls while 3u + camber < 0 and
// rises after: a span failing on that check alone while it still falls lies
// below the passing spans, not beyond them. So without vibration the spans
// that pass form one run, and "beyond" is monotone in the span. The ratio of
// v is not monotone (it rises, then falls), so with vibration a span failing
// on v alone may lie anywhere below "beyond", and is searched for apart; so is
// a short span failing in bearing alone while a longer one may lower the
// bearing ratios (the amended rules' l ef and kc,90), which a concentrated
// load can make fail.
enum class Place { below, passing, failsHere, beyond };

class SpanSearch
{
public:
    explicit SpanSearch(const JoistDesign& inputs) : inputs_(inputs) {}

    LongestSpan longest()
    {
        if (inputs_.basis.vibration)
            return longestWithVibration();
        const Boundary boundary = beyondBoundary();
        if (boundary.lowPlace == Place::failsHere)
            return longestWithVibration();
        if (boundary.lowPlace != Place::passing)
            return {};
        if (boundary.high > longestSpanSearched)
            return {LongestSpan::Kind::beyondRange, 0};
        return {LongestSpan::Kind::millimetres, boundary.low};
    }

    int evaluations() const { return evaluations_; }

private:
    // Where "beyond" begins: `low` is the largest span that is not beyond
    // (0 when even 1 mm is), `high` the smallest that is (one past the
    // range when none is), and lowPlace where `low` lies.
    struct Boundary
    {
        int low = 0;
        int high = longestSpanSearched + 1;
        Place lowPlace = Place::beyond;

        // Moves the end that the place of a span between them says.
        void narrow(int millimetres, Place place)
        {
            if (place == Place::beyond) {
                high = millimetres;
            } else {
                low = millimetres;
                lowPlace = place;
            }
        }
        bool bracketed() const { return low > 0 && high <= longestSpanSearched; }
    };

    // "Beyond" is monotone in the span, so the boundary is bracketed by
    // stepping out from a predicted span in doubling steps, then halved.
    // A good prediction takes two or three checks where halving the whole
    // range takes sixteen.
    Boundary beyondBoundary()
    {
        Boundary boundary;
        const int guess = predictedMillimetres();
        boundary.narrow(guess, placeOf(guess));
        for (int step = 1; !boundary.bracketed(); step *= 2) {
            const bool down = boundary.low == 0;
            if (down ? boundary.high == 1 : boundary.low == longestSpanSearched)
                return boundary; // 1 mm is beyond, or no span up to 30 m is
            const int probe = down ? std::max(1, boundary.high - step)
                                   : std::min(longestSpanSearched, boundary.low + step);
            boundary.narrow(probe, placeOf(probe));
        }
        while (boundary.high - boundary.low > 1) {
            const int middle = boundary.low + (boundary.high - boundary.low) / 2;
            boundary.narrow(middle, placeOf(middle));
        }
        return boundary;
    }

    // The span at which the first check would reach a ratio of 1 if each
    // ratio grew exactly as its span power, from one check at the inputs'
    // span (or at 4 m). Only where to start: any answer is found exactly.
    int predictedMillimetres()
    {
        const float span = inputs_.span > 0 && inputs_.span <= 30 ? inputs_.span : 4.0f;
        ++evaluations_;
        JoistDesign& d = scratch_;
        d.span = span;
        clearFloatFaults();
        computeSteps(d, UntestedSteps{});
        // The largest factor by which a ratio must shrink, as a span factor.
        double shrink = 0;
        for (const CheckDefinition& check : checkDefinitions) {
            const double quotient = inForce(check, d) ? ratioQuotient(d, check) : 0;
            if (quotient > 0)
                shrink = std::max(shrink, root(quotient, check.spanPower));
        }
        const double predicted =
            shrink > 0 ? 1e3 * double(span) / shrink : double(longestSpanSearched / 2);
        clearFloatFaults();
        if (!(predicted >= 1)) // not a number either
            return 1;
        return int(std::min(predicted, double(longestSpanSearched)));
    }

    // x^(1/n), cheaper than the general power; 0 for n = 0.
    static double root(double x, int n)
    {
        switch (n) {
        case 1:
            return x;
        case 2:
            return std::sqrt(x);
        case 3:
            return std::cbrt(x);
        case 4:
            return std::sqrt(std::sqrt(x));
        default:
            return 0;
        }
    }

    // The spans below "beyond" and above "below" pass or fail on v or a
    // short span's bearing alone; the
    // largest that passes is found from the top, skipping every stretch over
    // which a lower bound of v's ratio already fails.
    LongestSpan longestWithVibration()
    {
        const Boundary boundary = beyondBoundary();
        if (boundary.low == 0)
            return {};                 // 1 mm is beyond
        const int end = boundary.high; // the first span beyond
        if (end > longestSpanSearched) {
            if (boundary.lowPlace == Place::passing)
                return {LongestSpan::Kind::beyondRange, 0};
            if (boundary.lowPlace == Place::below)
                return {};
        }
        int start = 1; // the first span not below
        if (placeOf(start) == Place::below) {
            if (placeOf(end - 1) == Place::below)
                return {};
            int high = end - 1;
            while (high - start > 1) {
                const int middle = start + (high - start) / 2;
                (placeOf(middle) == Place::below ? start : high) = middle;
            }
            start = high;
        }
        // Most often the span just below "beyond" passes.
        if (placeOf(end - 1) == Place::passing)
            return {LongestSpan::Kind::millimetres, end - 1};
        const std::optional<int> found = largestPassing(start, end - 2);
        if (!found)
            return {};
        return {LongestSpan::Kind::millimetres, *found};
    }

    std::optional<int> largestPassing(int low, int high)
    {
        constexpr int scanned = 8;
        if (high - low < scanned) {
            for (int k = high; k >= low; --k) {
                if (placeOf(k) == Place::passing)
                    return k;
            }
            return std::nullopt;
        }
        if (vibrationFailsThroughout(low, high))
            return std::nullopt;
        const int middle = low + (high - low) / 2;
        if (const std::optional<int> upper = largestPassing(middle + 1, high))
            return upper;
        return largestPassing(low, middle);
    }

    // Over [low, high] the mass, the stiffnesses and kdist are fixed; n40 and
    // the mass term m B L grow with the span, f1 falls and b does not fall.
    // So v is at least 4 (0.4 + 0.6 n40(low)) / (m B L(high) + 200), and its
    // limit b^(f1 zeta - 1) at most its largest value at the four corners.
    // The margin covers the rounding of the stored steps.
    bool vibrationFailsThroughout(int low, int high)
    {
        if (!inputs_.basis.vibration)
            return false;
        const JoistDesign* lowerEvaluated = evaluatedAt(low);
        const JoistDesign* upperEvaluated = evaluatedAt(high);
        if (!lowerEvaluated || !upperEvaluated)
            return false;
        const JoistDesign& lower = *lowerEvaluated;
        const JoistDesign& upper = *upperEvaluated;
        const DesignBasis& basis = inputs_.basis;
        const double mass = lower.floorMass;
        if (!(mass > 0 && basis.floorWidth > 0 && lower.b >= 1 && upper.b >= 1 && lower.n40 >= 0))
            return false;
        const double velocity = 4 * (0.4 + 0.6 * double(lower.n40)) /
                                (double(upper.floorMass) * basis.floorWidth * upper.span + 200);
        double largestLimit = 0;
        for (const float b : {lower.b, upper.b}) {
            for (const float f1 : {lower.f1, upper.f1})
                largestLimit =
                    std::max(largestLimit, std::pow(double(b), double(f1) * basis.damping - 1));
        }
        const bool fails = velocity / largestLimit * (1 - 1e-4) > largestPassingQuotient;
        clearFloatFaults();
        return fails;
    }

    // The stored steps at a span, evaluated once; null when it stopped.
    // The halving shares ends between neighbouring intervals.
    const JoistDesign* evaluatedAt(int millimetres)
    {
        for (const auto& [at, design] : evaluated_) {
            if (at == millimetres)
                return design.span == 0 ? nullptr : &design;
        }
        ++evaluations_;
        JoistDesign d = inputs_;
        d.span = spanOfMillimetres(millimetres);
        if (evaluate(d).verdict == Verdict::stopped)
            d.span = 0; // marks the stop
        evaluated_.emplace_back(millimetres, d);
        return d.span == 0 ? nullptr : &evaluated_.back().second;
    }

    Place placeOf(int millimetres)
    {
        ++evaluations_;
        JoistDesign& d = scratch_;
        d.span = spanOfMillimetres(millimetres);
        const Evaluation e = evaluate(d);
        if (e.verdict == Verdict::passes)
            return Place::passing;
        if (e.verdict == Verdict::stopped)
            return Place::beyond;
        const bool stillFalling = 3 * (double(d.uFinQ) + double(d.uFinG)) + double(d.camber) < 0;
        const std::uint16_t failing = e.failingChecks;
        const std::uint16_t fallingBearing =
            bearingMayFallWithSpan(d) ? bitOf(Check::bearing) | bitOf(Check::pointBearing) : 0;
        if ((failing & ~(bitOf(Check::uNetFin) | bitOf(Check::v) | fallingBearing)) != 0)
            return Place::beyond;
        if ((failing & bitOf(Check::uNetFin)) != 0)
            return stillFalling ? Place::below : Place::beyond;
        return Place::failsHere;
    }

    const JoistDesign& inputs_;
    // Every check overwrites the steps it stores; only the span changes.
    JoistDesign scratch_ = inputs_;
    int evaluations_ = 0;
    std::list<std::pair<int, JoistDesign>> evaluated_; // stable addresses, and none made unused
};

// The decimal text of millimetres as metres, with `decimals` (2 or 3)
// decimals cut off, not rounded.
std::string metresText(int millimetres, int decimals, std::string_view separator)
{
    std::string text = std::to_string(millimetres / 1000);
    text += separator;
    const std::string thousandths = std::to_string(1000 + millimetres % 1000).substr(1);
    text += thousandths.substr(0, static_cast<std::size_t>(decimals));
    return text;
}

// The first failing span in the tooltip: three decimals, as many as it
// needs, but two at least so that it reads beside the cell ("5.00", "4.996").
std::string failingSpanText(int millimetres, std::string_view separator)
{
    std::string text = metresText(millimetres, 3, separator);
    if (text.back() == '0')
        text.pop_back();
    return text;
}

// How one kind of text writes a longest span.
struct SpanWording
{
    int decimals;
    std::string_view unit;
    std::string_view beyondRange;
    std::string_view none;
};

std::string spanText(const LongestSpan& span, const SpanWording& wording,
                     std::string_view separator)
{
    switch (span.kind) {
    case LongestSpan::Kind::millimetres:
        return metresText(span.millimetres, wording.decimals, separator) +
               std::string(wording.unit);
    case LongestSpan::Kind::beyondRange:
        return std::string(wording.beyondRange);
    case LongestSpan::Kind::none:
        break;
    }
    return std::string(wording.none);
}

} // namespace

Verdict evaluateDesign(const JoistDesign& inputs)
{
    JoistDesign scratch = inputs;
    return evaluate(scratch).verdict;
}

Verdict evaluateInPlace(JoistDesign& scratch)
{
    return evaluate(scratch).verdict;
}

// k / 1000 is rounded to double and then to float; that this double rounding
// never lands on a different float than the nearest one is shown for every k
// up to 30,000 by the tests.
float spanOfMillimetres(int millimetres)
{
    return static_cast<float>(millimetres / 1000.0);
}

LongestSpan findLongestSpan(const JoistDesign& inputs)
{
    return SpanSearch(inputs).longest();
}

std::optional<int> firstFailingMillimetres(const LongestSpan& span)
{
    switch (span.kind) {
    case LongestSpan::Kind::millimetres:
        return span.millimetres + 1;
    case LongestSpan::Kind::none:
        return 1;
    case LongestSpan::Kind::beyondRange:
        break;
    }
    return std::nullopt;
}

std::optional<Check> governingBeyond(const JoistDesign& inputs, const LongestSpan& span)
{
    const std::optional<int> failing = firstFailingMillimetres(span);
    if (!failing)
        return std::nullopt;
    JoistDesign d = inputs;
    d.span = spanOfMillimetres(*failing);
    clearFloatFaults();
    computeSteps(d, UntestedSteps{});
    std::array<float, checkDefinitions.size()> quotients{};
    for (std::size_t i = 0; i < checkDefinitions.size(); ++i) {
        if (inForce(checkDefinitions[i], d))
            quotients[i] = ratioQuotient(d, checkDefinitions[i]);
    }
    if (raisedFloatFault())
        return std::nullopt;
    // Checks not in force keep a quotient of 0.
    const auto largest = std::max_element(quotients.begin(), quotients.end());
    if (!(*largest > largestPassingQuotient))
        return std::nullopt; // passes; the searches never ask for such a span
    // The stored ratios are the quotients rounded to "#0.00#" and read back,
    // so an earlier check whose quotient is a little smaller may tie with
    // the largest. Rounding moves a quotient by at most 0.0005 and the
    // reading back by half a float step; only quotients that close are
    // rounded, which keeps the cost to about one evaluation.
    const double close = double(*largest) - 0.001 - double(*largest) * 0x1p-21;
    std::optional<float> largestStored;
    for (auto q = quotients.begin(); q != largest; ++q) {
        if (*q > largestPassingQuotient && double(*q) >= close) {
            if (!largestStored)
                largestStored = roundedRatio(*largest);
            if (roundedRatio(*q) == *largestStored) {
                clearFloatFaults();
                return checkDefinitions[std::size_t(q - quotients.begin())].check;
            }
        }
    }
    clearFloatFaults();
    return checkDefinitions[std::size_t(largest - quotients.begin())].check;
}

std::vector<Section> sectionsByArea(std::span<const float> breadths, std::span<const float> depths)
{
    std::vector<Section> sections;
    for (const float breadth : breadths) {
        for (const float depth : depths)
            sections.push_back({breadth, depth});
    }
    // The product of two floats is exact in double.
    std::stable_sort(sections.begin(), sections.end(), [](const Section& a, const Section& b) {
        const double areaA = double(a.breadth) * a.depth;
        const double areaB = double(b.breadth) * b.depth;
        return areaA != areaB ? areaA < areaB : a.depth < b.depth;
    });
    return sections;
}

std::optional<Section> findLightestSection(const JoistDesign& inputs,
                                           std::span<const Section> byArea)
{
    JoistDesign d = inputs; // each check overwrites the steps it stores
    for (const Section& section : byArea) {
        d.breadth = section.breadth;
        d.depth = section.depth;
        if (evaluate(d).verdict == Verdict::passes)
            return section;
    }
    return std::nullopt;
}

std::optional<Section> findLightestSection(const JoistDesign& inputs,
                                           std::span<const float> breadths,
                                           std::span<const float> depths)
{
    return findLightestSection(inputs, sectionsByArea(breadths, depths));
}

SpanTable computeSpanTable(const JoistDesign& inputs, std::span<const float> breadths,
                           std::span<const float> depths, std::span<const float> spacings)
{
    SpanTable table;
    table.spacings.assign(spacings.begin(), spacings.end());
    table.cells.reserve(breadths.size() * depths.size() * spacings.size());
    table.governing.reserve(table.cells.capacity());
    JoistDesign d = inputs;
    for (const float breadth : breadths) {
        for (const float depth : depths) {
            table.sections.push_back({breadth, depth});
            for (const float spacing : spacings) {
                d.breadth = breadth;
                d.depth = depth;
                d.spacing = spacing;
                SpanSearch search(d);
                const LongestSpan& longest = table.cells.emplace_back(search.longest());
                table.governing.push_back(governingBeyond(d, longest));
                table.evaluations += search.evaluations();
            }
        }
    }
    return table;
}

std::string longestSpanText(const LongestSpan& span, std::string_view decimalSeparator)
{
    return spanText(span, {3, " m", "more than 30 m", "none"}, decimalSeparator);
}

std::string spanTableCellText(const LongestSpan& span, std::string_view decimalSeparator)
{
    return spanText(span, {2, "", "> 30", "\u2013"}, decimalSeparator);
}

std::string spanTableCellTooltip(const LongestSpan& span, std::optional<Check> governing,
                                 std::string_view decimalSeparator)
{
    if (span.kind == LongestSpan::Kind::beyondRange)
        return longestSpanText(span, decimalSeparator);
    std::string text = span.kind == LongestSpan::Kind::none
                           ? std::string("no span passes")
                           : spanTableCellText(span, decimalSeparator) + " m";
    const std::optional<int> failing = firstFailingMillimetres(span);
    text += governing ? ", governed by " + std::string(definitionOf(*governing).markName)
                      : std::string(", the check stops");
    return text + " at " + failingSpanText(*failing, decimalSeparator) + " m";
}

std::string_view spanTableMark(std::optional<Check> governing)
{
    if (!governing)
        return {};
    return {&definitionOf(*governing).mark, 1};
}

std::string spanTableLegend(const JoistDesign& inputs)
{
    std::string legend = "Governed by:";
    std::string marks;
    for (const CheckDefinition& check : checkDefinitions) {
        if (!inForce(check, inputs) || marks.find(check.mark) != std::string::npos)
            continue;
        legend += marks.empty() ? " " : " \u00B7 ";
        marks += check.mark;
        legend += check.mark;
        legend += " = ";
        legend += check.markName;
        if ((check.check == Check::bearing || check.check == Check::pointBearing) &&
            inputs.basis.rules == Rules::amended)
            legend += " (kc,90, l ef)";
    }
    return legend;
}

std::string sectionText(const Section& section, std::string_view decimalSeparator)
{
    return generalText(section.breadth, decimalSeparator) + " x " +
           generalText(section.depth, decimalSeparator);
}

std::string lightestSectionText(const std::optional<Section>& section,
                                std::string_view decimalSeparator)
{
    if (!section)
        return "none of the listed sections";
    return sectionText(*section, decimalSeparator) + " mm";
}

namespace {

// An input the design load takes beyond the joist's own weight, and what is
// said of it when it is negative.
struct Load
{
    Input input;
    std::string negative; // "the dead load is negative"
};

// The loads, from the check's own steps: the inputs of the step that stores
// the design load, less those of the one that stores the self-weight.
const std::vector<Load>& loads()
{
    static const std::vector<Load> found = [] {
        JoistDesign d;
        std::vector<Input> selfWeight, designLoad;
        computeSteps(d, [&](int step, float& member, double) {
            if (&member == &d.selfWeight)
                selfWeight = inputsOfStep(step).value_or(std::vector<Input>{});
            if (&member != &d.designLoad)
                return true;
            designLoad = inputsOfStep(step).value_or(std::vector<Input>{});
            return false;
        });
        std::vector<Load> named;
        for (const Input input : designLoad) {
            if (std::ranges::find(selfWeight, input) != selfWeight.end())
                continue;
            std::string text = "the ";
            for (const char c : factsOf(input).caption)
                text += c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
            named.push_back({input, text + " is negative"});
        }
        return named;
    }();
    return found;
}

} // namespace

std::optional<std::string_view> loadProblem(const JoistDesign& inputs)
{
    // A negative load loads no joist, even where the others outweigh it.
    for (const Load& load : loads())
        if (inputs.*definitionOf(load.input).member < 0)
            return load.negative;
    // The design load as the check's own steps compute it, before it is
    // rounded to single precision.
    JoistDesign d = inputs;
    double designLoad = 0;
    computeSteps(d, [&](int, float& member, double value) {
        if (&member == &d.designLoad) {
            designLoad = value;
            return false;
        }
        member = static_cast<float>(value);
        return true;
    });
    if (!(designLoad > 0))
        return "the net design load does not act downward";
    return std::nullopt;
}

} // namespace joist
