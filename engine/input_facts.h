#pragma once

// What each input of the design is, apart from how a window shows it: its
// caption and unit, the database field a class's value comes from, its
// design text, start value, key and Eurocode symbol. The windows add where
// and how they show it (ui/input_table.h).

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/design_inputs.h"

namespace joist {

// How the user gives an input: not at all (the class's value), typed, or
// chosen from a list.
enum class InputEntry { classValue, typed, list };

struct InputFacts
{
    Input input;
    InputEntry entry;
    std::string_view caption;
    std::string_view unit;
    std::string_view field;       // a class's value is read from this field
    std::string_view designText;  // a list's items separated by '|'; decimals with a full stop
    std::string_view startValue;  // empty: the design text stays
    std::string_view key = {};    // in design files and schedules; empty for a class's value
    std::string_view symbol = {}; // EN 1995-1-1's name on the sheet ("w_c": c set below)
};

// Every input, in the order start-up sets them, design files write them and
// schedules list them.
inline constexpr auto inputFactsTable = std::to_array<InputFacts>({
    {Input::fmk, InputEntry::classValue, "fm,k", "N/mm2", "fm,k", "", ""},
    {Input::fc90k, InputEntry::classValue, "fc,90,k", "N/mm2", "fc,90,k", "", ""},
    {Input::fvk, InputEntry::classValue, "fv,k", "N/mm2", "fv,k", "", ""},
    {Input::e0mean, InputEntry::classValue, "E mean", "kN/mm2", "E0,mean", "", "", {}, "E0,mean"},
    {Input::rhoMean, InputEntry::classValue, "Density", "kg/m3", "rmean", "", ""},
    {Input::spacing, InputEntry::list, "Spacing of Joists, S", "mm", "",
     "200|300|400|450|500|550|600", "300", "spacing"},
    {Input::breadth, InputEntry::list, "Section Width", "mm", "", "36|44|75", "44", "breadth"},
    {Input::depth, InputEntry::list, "Section Depth", "mm", "", "100|115|125|150|175|200|225",
     "225", "depth"},
    {Input::kmod, InputEntry::list, "k mod", "", "", "0.8|1.0", "0.8", "kmod", "kmod"},
    {Input::kcrit, InputEntry::list, "k crit", "", "", "1", "1", "kcrit", "kcrit"},
    {Input::kls, InputEntry::list, "k ls", "", "", "1", "1", "kls", "ksys"},
    {Input::kh, InputEntry::list, "k h", "", "", "1", "1", "kh", "kh"},
    {Input::gammaM, InputEntry::list, "g m", "", "", "1.3", "1.3", "gammaM", "\u03B3M"},
    {Input::kmodGk, InputEntry::list, "k mod gk", "", "", "0.8", "0.8", "kmodGk", "kdef"},
    {Input::kmodQk, InputEntry::list, "k mod qk", "", "", "0.25", "0.25", "kmodQk",
     "\u03C82\u00B7kdef"},
    {Input::bearingLength, InputEntry::typed, "Bearing Length", "mm", "", "4", "50",
     "bearingLength"},
    {Input::camber, InputEntry::typed, "Initial Camber, u 0", "mm", "", "0", "0", "camber", "w_c"},
    {Input::span, InputEntry::typed, "Span of Joist", "m", "", "4", "", "span"},
    {Input::deadLoad, InputEntry::typed, "Dead Load", "kN/m2", "", "0.4", "", "deadLoad"},
    {Input::liveLoad, InputEntry::typed, "Live Load", "kN/m2", "", "1.5", "", "liveLoad"},
});

std::span<const InputFacts> inputFacts();

const InputFacts& factsOf(Input input);

// The numbers of a list input's fixed items, in list order.
std::vector<float> listValues(Input input);

// "g m (γM)": the caption with its Eurocode symbol, for the calculation sheet.
std::string captionWithSymbol(const InputFacts& facts);

// What messages call an input: its caption.
std::string inputCaption(Input input);

// "Span of Joist, m": caption and unit, for screen readers and messages.
std::string accessibleInputName(const InputFacts& facts);

} // namespace joist
