#include "engine/design_inputs.h"

#include "engine/number_text.h"

namespace joist {

const InputDefinition& definitionOf(Input input)
{
    return inputDefinitions[static_cast<std::size_t>(input)];
}

ReadResult storeInput(JoistDesign& design, const InputSource& source, Input input,
                      std::string_view decimalSeparator)
{
    const InputDefinition& definition = definitionOf(input);
    std::string text = source.text(input);
    std::optional<float> value = parseNumber(text, decimalSeparator);
    if (!value)
        return ReadResult{input, std::move(text)};
    design.*definition.member = *value;
    return {};
}

ReadResult readInputs(JoistDesign& design, const InputSource& source,
                      std::string_view decimalSeparator)
{
    for (const InputDefinition& definition : inputDefinitions) {
        ReadResult result = storeInput(design, source, definition.input, decimalSeparator);
        if (!result.ok())
            return result;
    }
    return {};
}

} // namespace joist
