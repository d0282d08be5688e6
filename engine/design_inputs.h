#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/joist_design.h"

namespace joist {

// The twenty inputs, in the fixed order in which readInputs reads them.
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

struct InputDefinition
{
    Input input;
    std::string_view control; // the control or bound label that holds its text
    float JoistDesign::*member;
};

inline constexpr std::array<InputDefinition, 20> inputDefinitions{{
    {Input::fmk, "fmkLbl", &JoistDesign::fmk},
    {Input::fc90k, "fc90kLbl", &JoistDesign::fc90k},
    {Input::fvk, "fvkLbl", &JoistDesign::fvk},
    {Input::e0mean, "EmeanLbl", &JoistDesign::e0mean},
    {Input::rhoMean, "RmeanLbl", &JoistDesign::rhoMean},
    {Input::spacing, "cmbSpacing", &JoistDesign::spacing},
    {Input::depth, "cmbDepth", &JoistDesign::depth},
    {Input::breadth, "cmbBreadth", &JoistDesign::breadth},
    {Input::span, "spanTxt", &JoistDesign::span},
    {Input::kmod, "cmbKmod", &JoistDesign::kmod},
    {Input::kcrit, "cmbKcrit", &JoistDesign::kcrit},
    {Input::kls, "cmbKls", &JoistDesign::kls},
    {Input::kh, "cmbKh", &JoistDesign::kh},
    {Input::gammaM, "cmbGm", &JoistDesign::gammaM},
    {Input::kmodGk, "cmbKmodGk", &JoistDesign::kmodGk},
    {Input::kmodQk, "cmbKmodQk", &JoistDesign::kmodQk},
    {Input::deadLoad, "deadTxt", &JoistDesign::deadLoad},
    {Input::liveLoad, "liveTxt", &JoistDesign::liveLoad},
    {Input::bearingLength, "bearLTxt", &JoistDesign::bearingLength},
    {Input::camber, "u0Txt", &JoistDesign::camber},
}};

const InputDefinition& definitionOf(Input input);

// Yields the current text of a control or bound label, by its name.
class InputSource
{
public:
    virtual ~InputSource() = default;
    virtual std::string text(std::string_view control) const = 0;
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
