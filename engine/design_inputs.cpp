#include "engine/design_inputs.h"

#include <algorithm>

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

namespace {

constexpr auto factsIndex = indexByInput(inputFactsTable);

} // namespace

std::span<const InputFacts> inputFacts()
{
    return inputFactsTable;
}

const InputFacts& factsOf(Input input)
{
    return inputFactsTable[factsIndex[static_cast<std::size_t>(input)]];
}

std::vector<float> listValues(Input input)
{
    std::vector<float> values;
    std::string_view items = factsOf(input).designText;
    while (!items.empty()) {
        const std::size_t end = std::min(items.find('|'), items.size());
        if (const std::optional<float> value = parseNumber(items.substr(0, end), "."))
            values.push_back(*value);
        items.remove_prefix(std::min(end + 1, items.size()));
    }
    return values;
}

std::string_view materialListItem(Input input, Material material)
{
    return input == Input::gammaM && material == Material::glulam ? "1.25" : "";
}

std::string captionWithSymbol(const InputFacts& facts)
{
    std::string text(facts.caption);
    if (!facts.symbol.empty())
        text.append(" (").append(facts.symbol).append(")");
    return text;
}

std::string inputCaption(Input input)
{
    return std::string(factsOf(input).caption);
}

std::string accessibleInputName(const InputFacts& facts)
{
    std::string name(facts.caption);
    if (!facts.unit.empty())
        name.append(", ").append(facts.unit);
    return name;
}

} // namespace joist
