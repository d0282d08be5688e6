#pragma once

// The design's inputs: which member each is stored in, and how their texts are
// read and stored, all at once or one at a time.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/joist_design.h"

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
};

// Where readInputs stores each input; the windows know which control holds it.
struct InputDefinition
{
    Input input;
    float JoistDesign::*member;
};

inline constexpr auto inputDefinitions = std::to_array<InputDefinition>({
    {Input::fmk, &JoistDesign::fmk},
    {Input::fc90k, &JoistDesign::fc90k},
    {Input::fvk, &JoistDesign::fvk},
    {Input::e0mean, &JoistDesign::e0mean},
    {Input::rhoMean, &JoistDesign::rhoMean},
    {Input::spacing, &JoistDesign::spacing},
    {Input::depth, &JoistDesign::depth},
    {Input::breadth, &JoistDesign::breadth},
    {Input::span, &JoistDesign::span},
    {Input::kmod, &JoistDesign::kmod},
    {Input::kcrit, &JoistDesign::kcrit},
    {Input::kls, &JoistDesign::kls},
    {Input::kh, &JoistDesign::kh},
    {Input::gammaM, &JoistDesign::gammaM},
    {Input::kmodGk, &JoistDesign::kmodGk},
    {Input::kmodQk, &JoistDesign::kmodQk},
    {Input::deadLoad, &JoistDesign::deadLoad},
    {Input::liveLoad, &JoistDesign::liveLoad},
    {Input::bearingLength, &JoistDesign::bearingLength},
    {Input::camber, &JoistDesign::camber},
});

// The table lists the inputs in their enum's order, so an input is its index.
static_assert([] {
    for (std::size_t i = 0; i < inputDefinitions.size(); ++i)
        if (static_cast<std::size_t>(inputDefinitions[i].input) != i)
            return false;
    return true;
}());

const InputDefinition& definitionOf(Input input);

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

// Reads all twenty inputs in their fixed order and stops at the first text
// that does not convert: inputs before it are stored, those after it are
// left as they were.
ReadResult readInputs(JoistDesign& design, const InputSource& source,
                      std::string_view decimalSeparator);

// The one-member store of a single edited control: reads only that control.
ReadResult storeInput(JoistDesign& design, const InputSource& source, Input input,
                      std::string_view decimalSeparator);

} // namespace joist
