#pragma once

// The design's inputs: what each is, which member it is stored in, and how
// their texts are read and stored, all at once or one at a time.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/joist_design.h"
#include "engine/material.h"
#include "engine/translatable_text.h"

namespace joist {

// The inputs, in the fixed order in which readInputs reads them.
enum class Input {
    fmk,
    fc90k,
    fvk,
    e0mean,
    rhoMean,
    spacing,
    depth,
    breadth,
    span,
    kmod,
    kcrit,
    kls,
    kh,
    gammaM,
    kmodGk,
    kmodQk,
    deadLoad,
    liveLoad,
    bearingLength,
    camber,
    count, // how many there are
};
inline constexpr std::size_t inputCount = static_cast<std::size_t>(Input::count);

// How the user gives an input: not at all (the class's value), typed, or
// chosen from a list.
enum class InputEntry { classValue, typed, list };

// What each input is, apart from how a window shows it (ui/input_table.h):
// the member readInputs stores it in, how it is entered, its caption and
// unit, the database field a class's value comes from, its design text, start
// value, key and Eurocode symbol. Captions and units are marked for
// translation.
struct InputFacts
{
    Input input;
    float JoistDesign::*member;
    InputEntry entry;
    std::string_view caption;
    std::string_view unit;
    std::string_view field;       // a class's value is read from this field
    std::string_view designText;  // a list's items separated by '|'; decimals with a full stop
    std::string_view startValue;  // empty: the design text stays
    std::string_view key = {};    // in design files and schedules; empty for a class's value
    std::string_view symbol = {}; // EN 1995-1-1's name on the sheet ("w_c": c set below)
};

// Every input once, in the order start-up sets them, design files write them
// and schedules list them.
inline constexpr auto inputFactsTable = std::to_array<InputFacts>({
    {Input::fmk, &JoistDesign::fmk, InputEntry::classValue, JOIST_TR_NOOP("Input", "fm,k"),
     JOIST_TR_NOOP("Input", "N/mm2"), "fm,k", "", ""},
    {Input::fc90k, &JoistDesign::fc90k, InputEntry::classValue, JOIST_TR_NOOP("Input", "fc,90,k"),
     JOIST_TR_NOOP("Input", "N/mm2"), "fc,90,k", "", ""},
    {Input::fvk, &JoistDesign::fvk, InputEntry::classValue, JOIST_TR_NOOP("Input", "fv,k"),
     JOIST_TR_NOOP("Input", "N/mm2"), "fv,k", "", ""},
    {Input::e0mean,
     &JoistDesign::e0mean,
     InputEntry::classValue,
     JOIST_TR_NOOP("Input", "E mean"),
     JOIST_TR_NOOP("Input", "kN/mm2"),
     "E0,mean",
     "",
     "",
     {},
     "E0,mean"},
    {Input::rhoMean, &JoistDesign::rhoMean, InputEntry::classValue,
     JOIST_TR_NOOP("Input", "Density"), JOIST_TR_NOOP("Input", "kg/m3"), "rmean", "", ""},
    {Input::spacing, &JoistDesign::spacing, InputEntry::list,
     JOIST_TR_NOOP("Input", "Spacing of Joists, S"), JOIST_TR_NOOP("Input", "mm"), "",
     "200|300|400|450|500|550|600", "300", "spacing"},
    {Input::breadth, &JoistDesign::breadth, InputEntry::list,
     JOIST_TR_NOOP("Input", "Section Width"), JOIST_TR_NOOP("Input", "mm"), "", "36|44|75", "44",
     "breadth"},
    {Input::depth, &JoistDesign::depth, InputEntry::list, JOIST_TR_NOOP("Input", "Section Depth"),
     JOIST_TR_NOOP("Input", "mm"), "", "100|115|125|150|175|200|225", "225", "depth"},
    {Input::kmod, &JoistDesign::kmod, InputEntry::list, JOIST_TR_NOOP("Input", "k mod"), "", "",
     "0.8|1.0", "0.8", "kmod", "kmod"},
    {Input::kcrit, &JoistDesign::kcrit, InputEntry::list, JOIST_TR_NOOP("Input", "k crit"), "", "",
     "1", "1", "kcrit", "kcrit"},
    {Input::kls, &JoistDesign::kls, InputEntry::list, JOIST_TR_NOOP("Input", "k ls"), "", "", "1",
     "1", "kls", "ksys"},
    {Input::kh, &JoistDesign::kh, InputEntry::list, JOIST_TR_NOOP("Input", "k h"), "", "", "1", "1",
     "kh", "kh"},
    {Input::gammaM, &JoistDesign::gammaM, InputEntry::list, JOIST_TR_NOOP("Input", "g m"), "", "",
     "1.3", "1.3", "gammaM", "\u03B3M"},
    {Input::kmodGk, &JoistDesign::kmodGk, InputEntry::list, JOIST_TR_NOOP("Input", "k mod gk"), "",
     "", "0.8", "0.8", "kmodGk", "kdef"},
    {Input::kmodQk, &JoistDesign::kmodQk, InputEntry::list, JOIST_TR_NOOP("Input", "k mod qk"), "",
     "", "0.25", "0.25", "kmodQk", "\u03C82\u00B7kdef"},
    {Input::bearingLength, &JoistDesign::bearingLength, InputEntry::typed,
     JOIST_TR_NOOP("Input", "Bearing Length"), JOIST_TR_NOOP("Input", "mm"), "", "4", "50",
     "bearingLength"},
    {Input::camber, &JoistDesign::camber, InputEntry::typed,
     JOIST_TR_NOOP("Input", "Initial Camber, u 0"), JOIST_TR_NOOP("Input", "mm"), "", "0", "0",
     "camber", "w_c"},
    {Input::span, &JoistDesign::span, InputEntry::typed, JOIST_TR_NOOP("Input", "Span of Joist"),
     JOIST_TR_NOOP("Input", "m"), "", "4", "", "span"},
    {Input::deadLoad, &JoistDesign::deadLoad, InputEntry::typed,
     JOIST_TR_NOOP("Input", "Dead Load"), JOIST_TR_NOOP("Input", "kN/m2"), "", "0.4", "",
     "deadLoad"},
    {Input::liveLoad, &JoistDesign::liveLoad, InputEntry::typed,
     JOIST_TR_NOOP("Input", "Live Load"), JOIST_TR_NOOP("Input", "kN/m2"), "", "1.5", "",
     "liveLoad"},
});

// Where each input stands in a table of rows that name one input each: every
// input once, or the table does not compile where this is a constant.
template <class Row, std::size_t rows>
constexpr std::array<std::size_t, inputCount> indexByInput(const std::array<Row, rows>& table)
{
    std::array<std::size_t, inputCount> index{};
    std::array<bool, inputCount> seen{};
    for (std::size_t i = 0; i < rows; ++i) {
        const auto input = static_cast<std::size_t>(table[i].input);
        if (input >= inputCount || seen[input])
            throw "an input stands twice in a table of inputs";
        seen[input] = true;
        index[input] = i;
    }
    for (bool s : seen)
        if (!s)
            throw "an input is missing from a table of inputs";
    return index;
}

// Where readInputs stores each input, in the enum's order, which is the order
// it reads them in.
struct InputDefinition
{
    Input input{};
    float JoistDesign::*member = nullptr;
};

inline constexpr auto inputDefinitions = [] {
    const std::array<std::size_t, inputCount> index = indexByInput(inputFactsTable);
    std::array<InputDefinition, inputCount> definitions{};
    for (std::size_t i = 0; i < inputCount; ++i)
        definitions[i] = {inputFactsTable[index[i]].input, inputFactsTable[index[i]].member};
    return definitions;
}();

const InputDefinition& definitionOf(Input input);

std::span<const InputFacts> inputFacts();

const InputFacts& factsOf(Input input);

// The numbers of a list input's fixed items, in list order.
std::vector<float> listValues(Input input);

// Its items under a basis (the section sizes it chooses, its service
// class), in ascending order.
std::vector<float> listValues(Input input, const DesignBasis& basis);

// What a list offers besides its fixed items, as design texts: glulam's
// partial factor gamma M (EN 1995-1-1 Table 2.3, 1.25; two sources) for a
// class of that material, and while the basis chooses a service class the
// standard's kmod, kdef and psi2 kdef for it and the floor's category.
std::vector<std::string_view> extraListItems(Input input, const DesignBasis& basis,
                                             Material material);

// The one input whose value follows the class's material: gamma M. A class of
// another material brings its own, and a design that does not give one
// takes its class's.
inline constexpr Input materialInput = Input::gammaM;
std::string_view materialStartValue(Material material);

// "g m (γM)": the caption with its Eurocode symbol, for the calculation sheet.
std::string captionWithSymbol(const InputFacts& facts);

// What messages call an input: its caption.
std::string inputCaption(Input input);

// "Span of Joist, m": caption and unit, for screen readers and messages.
std::string accessibleInputName(const InputFacts& facts);

// Yields the current text of the control or bound label that holds an input.
class InputSource
{
public:
    virtual ~InputSource() = default;
    virtual std::string text(Input input) const = 0;
};

// What a read stored: everything, or everything before the input whose text
// is not a number.
struct ReadResult
{
    std::optional<Input> failedInput; // empty when every text converted
    std::string failedText;

    bool ok() const { return !failedInput; }
};

// Reads every input, in the fixed order, and stops at the first text that
// does not convert: inputs before it are stored, those after it are left as
// they were.
ReadResult readInputs(JoistDesign& design, const InputSource& source,
                      std::string_view decimalSeparator);

// The one-member store of a single edited control: reads only that control.
ReadResult storeInput(JoistDesign& design, const InputSource& source, Input input,
                      std::string_view decimalSeparator);

} // namespace joist
