// The whole design check, fed from fuzzed control texts.
//
// Input: lines. Line 1 names the decimal separator by its first byte (see
// fuzzing::separatorFromByte); its next bytes, where there are any, choose
// the amended rules (an odd byte) and the concentrated load (its bit 1), the class's material (by
// value, in the enum's order) and the end distance beside the bearing (mm). Each next line
// "name=text" gives an input's control its text, the input named as a design file names it ("span",
// "deadLoad") or, for a class's value, by its field ("fm,k"); an input no line names has an empty
// text. From the first line that starts with '>', each line ">name=text" is one keystroke: the
// control's new text, stored alone as its handler does. A name that is no input's picks one by its
// first byte, so that any bytes still reach every input.
//
// Starting from the start-up values, readInputs runs, then a check, then each
// keystroke's store and a check. Invariants:
// - readInputs reads the controls in the fixed order, stores every text up
//   to the first that does not convert, and stops there; nothing else moves.
//   A store reads only its own control and changes at most its own member.
// - While loading, a check changes nothing and shows nothing.
// - A completed check has finite intermediate values and writes a label for
//   each check in force, then the overall ratio and the verdict, in order:
//   each ratio is its quotient rounded to three decimals, each label reads
//   back to its ratio, the unity ratio is 0 or the largest ratio, and the verdict is "Joist Passes"
//   exactly when the unity label reads as at most 1, else the failure text of the first check whose
//   ratio is the unity ratio.
// - The design aids' pass/fail evaluation of the same inputs gives the
//   check's verdict: passes, fails or stopped.
// - A stopped check shows nothing, stops at a real fault, leaves every member
//   from the faulting step on as it was, and its description states only
//   what is true of the inputs.

#include <algorithm>
#include <array>
#include <bitset>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/check_steps.h"
#include "engine/design_aids.h"
#include "engine/design_check.h"
#include "engine/design_inputs.h"
#include "engine/number_text.h"
#include "engine/stop_reason.h"
#include "fuzz/fuzz_check.h"
#include "tests/engine_fixtures.h"

namespace {

using fuzzing::escaped;
using fuzzing::fail;
using joist::JoistDesign;

// A member by its place in the record, so that sets of members are bit sets.
using Slot = std::size_t;
Slot slotOf(const JoistDesign& d, const float& member)
{
    return static_cast<Slot>(reinterpret_cast<const char*>(&member) -
                             reinterpret_cast<const char*>(&d)) /
           sizeof(float);
}
Slot slotOf(float JoistDesign::*member)
{
    static const JoistDesign probe;
    return slotOf(probe, probe.*member);
}
float valueAt(const JoistDesign& d, Slot slot)
{
    float value;
    std::memcpy(&value, reinterpret_cast<const char*>(&d) + slot * sizeof(float), sizeof value);
    return value;
}
using MemberSet = std::bitset<sizeof(JoistDesign) / sizeof(float)>;

MemberSet setOf(std::initializer_list<float JoistDesign::*> members)
{
    MemberSet set;
    for (const auto member : members)
        set.set(slotOf(member));
    return set;
}

// The steps of a check without vibration under each edition of the rules,
// with and without the concentrated load and a table that brings kcr, in the
// order they run, each with the member it stores: found by running them, so
// that a new step is known.
struct StepMember
{
    int step;
    Slot slot;
};
std::vector<StepMember> stepsRun(std::size_t variant)
{
    JoistDesign probe = joist::testing::startExample();
    probe.basis.rules = variant & 1 ? joist::Rules::amended : joist::Rules::original;
    probe.basis.pointLoad = (variant & 2) != 0;
    probe.tablePresumesKcr = (variant & 4) != 0;
    probe.material = joist::Material::softwood;
    std::vector<StepMember> all;
    joist::computeSteps(probe, [&](int step, float& member, double value) {
        member = static_cast<float>(value);
        all.push_back({step, slotOf(probe, member)});
        return true;
    });
    return all;
}
const std::vector<StepMember>& stepMembers(const JoistDesign& d)
{
    static const std::array<std::vector<StepMember>, 8> learnt = [] {
        std::array<std::vector<StepMember>, 8> all;
        for (std::size_t variant = 0; variant < all.size(); ++variant)
            all[variant] = stepsRun(variant);
        return all;
    }();
    return learnt[(d.basis.rules == joist::Rules::amended ? 1 : 0) + (d.basis.pointLoad ? 2 : 0) +
                  (d.tablePresumesKcr ? 4 : 0)];
}

// Every numeric member: the inputs, the step members, the ratios and the
// unity ratio.
const std::vector<Slot>& numericMembers()
{
    static const std::vector<Slot> members = [] {
        std::vector<Slot> all;
        for (const joist::InputDefinition& input : joist::inputDefinitions)
            all.push_back(slotOf(input.member));
        MemberSet steps;
        JoistDesign every = joist::testing::startExample();
        every.basis.rules = joist::Rules::amended;
        every.basis.pointLoad = true;
        for (const StepMember& step : stepMembers(every))
            if (!steps.test(step.slot)) {
                steps.set(step.slot);
                all.push_back(step.slot);
            }
        // The target checks without vibration.
        for (const joist::CheckDefinition& check : joist::checkDefinitions) {
            if (!joist::isVibrationCheck(check.check))
                all.push_back(slotOf(check.ratio));
        }
        all.push_back(slotOf(&JoistDesign::unityRatio));
        // Each number of JoistDesign appears here once.
        MemberSet slots;
        for (const Slot slot : all)
            slots.set(slot);
        FUZZ_REQUIRE(slots.count() == all.size(),
                     "the fuzz target's list of JoistDesign members names one twice");
        return all;
    }();
    return members;
}

std::string memberName(Slot slot)
{
    return "member " + std::to_string(slot) + " of JoistDesign";
}

// Both records hold the same bits in every member, except those listed.
void requireUnchanged(const JoistDesign& before, const JoistDesign& after,
                      const MemberSet& mayChange, bool messageMayChange, std::string_view what)
{
    for (const Slot slot : numericMembers()) {
        const float was = valueAt(before, slot), is = valueAt(after, slot);
        if (!fuzzing::sameBits(was, is) && !mayChange.test(slot))
            fail(what, memberName(slot) + " changed from " + fuzzing::bitsText(was) + " to " +
                           fuzzing::bitsText(is));
    }
    if (!messageMayChange)
        FUZZ_REQUIRE(before.governingMessage == after.governingMessage, what,
                     "governingMessage changed to " + escaped(after.governingMessage));
}

// Texts of the controls, by input, recording which were read.
class Controls : public joist::InputSource
{
public:
    std::string text(joist::Input input) const override
    {
        const auto i = static_cast<std::size_t>(input);
        if (i >= texts.size())
            fail("an input was read that does not exist", std::to_string(i));
        reads.push_back(i);
        return texts[i];
    }

    std::array<std::string, joist::inputDefinitions.size()> texts;
    mutable std::vector<std::size_t> reads;
};

class Sink : public joist::ResultSink
{
public:
    void setResultText(joist::ResultLabel label, std::string_view text) override
    {
        writes.emplace_back(label, std::string(text));
    }
    std::vector<std::pair<joist::ResultLabel, std::string>> writes;

    // The text written to a label; the label was written.
    const std::string& written(joist::ResultLabel label) const
    {
        const auto write = std::find_if(writes.begin(), writes.end(),
                                        [label](const auto& w) { return w.first == label; });
        if (write == writes.end())
            fail("a completed check did not write a label", std::string(joist::resultKey(label)));
        return write->second;
    }
};

void checkReadInputs(JoistDesign& d, Controls& controls, std::string_view separator)
{
    const JoistDesign before = d;
    controls.reads.clear();
    const joist::ReadResult result = joist::readInputs(d, controls, separator);

    MemberSet stored;
    std::size_t stop = joist::inputDefinitions.size();
    for (std::size_t i = 0; i < joist::inputDefinitions.size(); ++i) {
        const std::optional<float> value = joist::parseNumber(controls.texts[i], separator);
        if (!value) {
            stop = i;
            break;
        }
        const auto member = joist::inputDefinitions[i].member;
        FUZZ_REQUIRE(fuzzing::sameBits(d.*member, *value), "readInputs stored a different value",
                     escaped(controls.texts[i]) + " stored as " + fuzzing::bitsText(d.*member));
        stored.set(slotOf(member));
    }
    FUZZ_REQUIRE(controls.reads.size() == std::min(stop + 1, joist::inputDefinitions.size()),
                 "readInputs did not read up to the first failing control, and no further");
    for (std::size_t i = 0; i < controls.reads.size(); ++i)
        FUZZ_REQUIRE(controls.reads[i] == i, "readInputs read the controls out of order");
    if (stop == joist::inputDefinitions.size()) {
        FUZZ_REQUIRE(result.ok(), "readInputs failed although every text converts");
    } else {
        FUZZ_REQUIRE(!result.ok() && static_cast<std::size_t>(*result.failedInput) == stop &&
                         result.failedText == controls.texts[stop],
                     "readInputs did not report the first text that does not convert",
                     escaped(controls.texts[stop]));
    }
    requireUnchanged(before, d, stored, false, "readInputs changed a member it must not");
}

void checkStore(JoistDesign& d, std::size_t index, const std::string& text,
                std::string_view separator)
{
    const joist::InputDefinition& definition = joist::inputDefinitions[index];
    Controls controls;
    controls.texts[index] = text;
    const JoistDesign before = d;
    const joist::ReadResult result = joist::storeInput(d, controls, definition.input, separator);
    FUZZ_REQUIRE(controls.reads.size() == 1 && controls.reads[0] == index,
                 "a one-member store read other controls than its own");
    const std::optional<float> value = joist::parseNumber(text, separator);
    if (value) {
        FUZZ_REQUIRE(result.ok() && fuzzing::sameBits(d.*definition.member, *value),
                     "a one-member store did not store its text", escaped(text));
        requireUnchanged(before, d, setOf({definition.member}), false,
                         "a one-member store changed another member");
    } else {
        FUZZ_REQUIRE(!result.ok() && result.failedInput == definition.input &&
                         result.failedText == text,
                     "a one-member store did not report its text", escaped(text));
        requireUnchanged(before, d, MemberSet(), false,
                         "a refused one-member store changed a member");
    }
}

// The float nearest to the quotient written with three decimals: the rounding
// the ratios get, done the plain way.
float roundedToThreeDecimals(float quotient)
{
    std::array<char, 128> buffer;
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), quotient,
                                            std::chars_format::fixed, 3);
    FUZZ_REQUIRE(error == std::errc(), "std::to_chars fails");
    *end = '\0';
    return std::strtof(buffer.data(), nullptr);
}

// A label text reads back to the number stored behind it: exactly while
// seven digits hold three decimals, else within seven-digit rounding.
void checkLabelText(std::string_view text, float value, std::string_view separator,
                    std::string_view label)
{
    const std::optional<float> back = joist::parseNumber(text, separator);
    FUZZ_REQUIRE(back.has_value(), "a result label does not read back",
                 std::string(label) + " shows " + escaped(text));
    // Half a unit of the seventh digit is at most 5e-7 of the value; the read
    // adds at most half a float step, 6e-8 of it.
    const bool exact = std::fabs(value) < 10000
                           ? *back == value
                           : std::fabs(double(*back) - value) <= std::fabs(double(value)) * 5.7e-7;
    FUZZ_REQUIRE(exact, "a result label does not show its stored ratio",
                 std::string(label) + " shows " + escaped(text) + " for " +
                     fuzzing::bitsText(value));
}

void checkCompleted(const JoistDesign& before, const JoistDesign& d, const Sink& sink,
                    std::string_view separator)
{
    MemberSet mayChange;
    for (const StepMember& step : stepMembers(d)) {
        FUZZ_REQUIRE(std::isfinite(valueAt(d, step.slot)),
                     "a completed check stored a value that is not finite",
                     memberName(step.slot) + " = " + fuzzing::bitsText(valueAt(d, step.slot)));
        mayChange.set(step.slot);
    }
    for (const joist::CheckDefinition& check : joist::checkDefinitions) {
        if (!joist::inForce(check, d))
            continue;
        const double quotient = double(d.*check.numerator) / double(d.*check.denominator);
        const auto single = static_cast<float>(quotient);
        FUZZ_REQUIRE(std::isfinite(single), "a check completed over a ratio that faults",
                     std::string(check.caption));
        const float expected = roundedToThreeDecimals(single);
        FUZZ_REQUIRE(fuzzing::sameBits(d.*check.ratio, expected),
                     "a stored ratio is not its quotient rounded to three decimals",
                     std::string(check.caption) + ": " + fuzzing::bitsText(d.*check.ratio) +
                         " for quotient " + fuzzing::bitsText(single));
        mayChange.set(slotOf(check.ratio));
    }
    mayChange.set(slotOf(&JoistDesign::unityRatio));

    // Each label of a check in force, then the overall ratio and the verdict,
    // in the command line's order.
    std::vector<joist::ResultLabel> order;
    for (const joist::ResultLabel label : joist::outputOrder) {
        const std::optional<joist::Check> check = joist::checkOfLabel(label);
        if (!check || joist::inForce(joist::definitionOf(*check), d))
            order.push_back(label);
    }
    FUZZ_REQUIRE(sink.writes.size() == order.size(),
                 "a completed check did not write one label for each check in force and two more",
                 std::to_string(sink.writes.size()) + " writes");
    for (std::size_t i = 0; i < order.size(); ++i) {
        FUZZ_REQUIRE(sink.writes[i].first == order[i],
                     "the result labels were written out of order");
        if (const std::optional<joist::Check> check = joist::checkOfLabel(order[i])) {
            const joist::CheckDefinition& definition = joist::definitionOf(*check);
            checkLabelText(sink.writes[i].second, d.*definition.ratio, separator,
                           definition.caption);
        }
    }

    // The unity ratio: 0, or the largest ratio.
    bool isARatio = d.unityRatio == 0;
    for (const joist::CheckDefinition& check : joist::checkDefinitions) {
        if (!joist::inForce(check, d))
            continue;
        FUZZ_REQUIRE(d.unityRatio >= d.*check.ratio, "a ratio exceeds the unity ratio",
                     std::string(check.caption));
        isARatio |= fuzzing::sameBits(d.unityRatio, d.*check.ratio);
    }
    FUZZ_REQUIRE(d.unityRatio >= 0 && isARatio,
                 "the unity ratio is neither 0 nor one of the ratios",
                 fuzzing::bitsText(d.unityRatio));
    const std::string& unityText = sink.written(joist::ResultLabel::unityRatio);
    checkLabelText(unityText, d.unityRatio, separator, "the unity ratio");

    // The verdict follows from what the unity label shows.
    const std::string& verdict = sink.written(joist::ResultLabel::governedBy);
    const bool shownAsFailing = *joist::parseNumber(unityText, separator) > 1;
    if (!shownAsFailing) {
        FUZZ_REQUIRE(verdict == joist::passText, "a unity ratio of at most 1 does not pass",
                     escaped(unityText) + " with verdict " + escaped(verdict));
        requireUnchanged(before, d, mayChange, false,
                         "a passing check changed a member it must not");
        return;
    }
    const auto governing =
        std::find_if(joist::checkDefinitions.begin(), joist::checkDefinitions.end(),
                     [&d](const joist::CheckDefinition& check) {
                         return joist::inForce(check, d) && d.*check.ratio == d.unityRatio;
                     });
    FUZZ_REQUIRE(governing != joist::checkDefinitions.end() && verdict == governing->failureText &&
                     d.governingMessage == verdict,
                 "a failing verdict does not name the first check with the unity ratio",
                 escaped(unityText) + " with verdict " + escaped(verdict));
    FUZZ_REQUIRE(sink.written(governing->label) == unityText,
                 "the governing check's label does not show the unity ratio");
    requireUnchanged(before, d, mayChange, true, "a failing check changed a member it must not");
}

// Whatever a stopped check's reason says is 0 must be 0.
void checkDescription(const joist::CheckOutcome& outcome, const JoistDesign& d)
{
    using K = joist::StopReason::Kind;
    const joist::StopReason reason = joist::stopReason(outcome, d);
    const bool namesZeroInputs = reason.kind == K::inputIsZero || reason.kind == K::zeroStrength ||
                                 reason.kind == K::noDeflectionLimit;
    FUZZ_REQUIRE(!namesZeroInputs || !reason.inputs.empty(),
                 "a stopped check's reason names no input that is 0");
    FUZZ_REQUIRE(reason.kind == K::zeroStrength || reason.kind == K::strengthTooSmall ||
                     reason.kind == K::sectionTooSmall || reason.kind == K::quantityIsZero ||
                     reason.quantity.empty(),
                 "a stopped check's reason names a quantity it does not explain");
    if (!namesZeroInputs)
        return;
    for (const joist::Input input : reason.inputs) {
        const float value = d.*joist::definitionOf(input).member;
        FUZZ_REQUIRE(value == 0, "a stopped check's reason names an input that is not 0",
                     fuzzing::bitsText(value));
    }
}

void checkStopped(const JoistDesign& before, const JoistDesign& d,
                  const joist::CheckOutcome& outcome, const Sink& sink)
{
    FUZZ_REQUIRE(sink.writes.empty(), "a stopped check changed a label");
    // The steps that ran before the fault; all of them when a ratio faulted.
    const std::vector<StepMember>& steps = stepMembers(d);
    const auto faulty = std::find_if(steps.begin(), steps.end(), [&outcome](const StepMember& s) {
        return s.step == outcome.step;
    });
    FUZZ_REQUIRE(faulty != steps.end() || outcome.step == 24, "a stopped check names no step",
                 std::to_string(outcome.step));
    MemberSet mayChange;
    for (auto step = steps.begin(); step != faulty; ++step) {
        FUZZ_REQUIRE(std::isfinite(valueAt(d, step->slot)),
                     "a step before the fault stored a fault", memberName(step->slot));
        mayChange.set(step->slot);
    }
    if (outcome.step == 24) {
        FUZZ_REQUIRE(outcome.ratio.has_value(), "a check stopped at the ratios names no ratio");
        const joist::CheckDefinition& faulty = joist::definitionOf(*outcome.ratio);
        for (const joist::CheckDefinition& check : joist::checkDefinitions) {
            if (!joist::inForce(check, d))
                continue;
            if (check.check == faulty.check)
                break;
            mayChange.set(slotOf(check.ratio));
        }
        // The fault is real, and of the kind reported.
        const double quotient = double(d.*faulty.numerator) / double(d.*faulty.denominator);
        const joist::FaultKind expected =
            std::isnan(quotient)              ? joist::FaultKind::invalidOperation
            : d.*faulty.denominator == 0      ? joist::FaultKind::divisionByZero
            : !std::isfinite(float(quotient)) ? joist::FaultKind::overflow
                                              : joist::FaultKind(-1);
        FUZZ_REQUIRE(outcome.fault == expected, "a ratio stopped the check without its fault",
                     std::string(faulty.caption) + ": " + fuzzing::bitsText(d.*faulty.numerator) +
                         " / " + fuzzing::bitsText(d.*faulty.denominator));
    }
    requireUnchanged(before, d, mayChange, false,
                     "a stopped check changed a member at or after its fault");
    checkDescription(outcome, d);
}

void checkDesign(JoistDesign& d, std::string_view separator)
{
    {
        const JoistDesign before = d;
        Sink sink;
        const joist::CheckOutcome outcome = joist::runDesignCheck(d, true, sink, separator);
        FUZZ_REQUIRE(outcome.status == joist::CheckOutcome::Status::skipped && sink.writes.empty(),
                     "a check while loading was not skipped");
        requireUnchanged(before, d, MemberSet(), false, "a check while loading changed a member");
    }
    const JoistDesign before = d;
    const joist::Verdict aidVerdict = joist::evaluateDesign(d);
    Sink sink;
    const joist::CheckOutcome outcome = joist::runDesignCheck(d, false, sink, separator);
    if (outcome.completed())
        checkCompleted(before, d, sink, separator);
    else if (outcome.stopped())
        checkStopped(before, d, outcome, sink);
    else
        fail("a check outside loading was skipped");
    const joist::Verdict verdict = outcome.stopped() ? joist::Verdict::stopped
                                   : sink.writes.back().second == joist::passText
                                       ? joist::Verdict::passes
                                       : joist::Verdict::fails;
    FUZZ_REQUIRE(aidVerdict == verdict, "the design aids' verdict is not the check's");
}

constexpr std::size_t mostLines = 128;

// The input a line names, and its text.
std::pair<std::size_t, std::string_view> namedText(std::string_view line)
{
    const std::size_t equals = std::min(line.find('='), line.size());
    const std::string_view name = line.substr(0, equals);
    const std::string_view text = line.substr(std::min(equals + 1, line.size()));
    for (const joist::InputFacts& facts : joist::inputFacts())
        if (name == (facts.key.empty() ? facts.field : facts.key))
            return {static_cast<std::size_t>(facts.input), text};
    const auto pick = name.empty() ? 0u : static_cast<unsigned char>(name[0]);
    return {pick % joist::inputDefinitions.size(), text};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start <= input.size() && lines.size() < mostLines;) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        lines.push_back(input.substr(start, end - start));
        start = end + 1;
    }
    const std::string_view separator = fuzzing::separatorFromByte(
        lines[0].empty() ? '.' : static_cast<unsigned char>(lines[0][0]));

    JoistDesign d = joist::testing::startExample();
    const auto lineByte = [&](std::size_t i) {
        return i < lines[0].size() ? static_cast<unsigned char>(lines[0][i]) : 0u;
    };
    d.basis.rules = lineByte(1) % 2 ? joist::Rules::amended : joist::Rules::original;
    d.basis.pointLoad = (lineByte(1) & 2) != 0;
    d.tablePresumesKcr = (lineByte(1) & 4) != 0;
    d.material = static_cast<joist::Material>(lineByte(2) % joist::materialTexts.size());
    d.basis.endDistance = static_cast<float>(lineByte(3));
    Controls controls;
    std::size_t line = 1;
    for (; line < lines.size() && !lines[line].starts_with('>'); ++line) {
        const auto [index, text] = namedText(lines[line]);
        controls.texts[index] = std::string(text);
    }
    checkReadInputs(d, controls, separator);
    checkDesign(d, separator);

    for (; line < lines.size(); ++line) {
        if (lines[line].empty())
            continue;
        const auto [index, text] = namedText(lines[line].substr(1));
        checkStore(d, index, std::string(text), separator);
        checkDesign(d, separator);
    }
    return 0;
}
