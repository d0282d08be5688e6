#include "engine/design_inputs.h"

#include <algorithm>

#include "engine/number_text.h"
#include "engine/service_class.h"

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

// EN 1995-1-1 Table 2.3 (two sources).
constexpr std::string_view glulamGammaM = "1.25";

} // namespace

std::span<const InputFacts> inputFacts()
{
    return inputFactsTable;
}

const InputFacts& factsOf(Input input)
{
    return inputFactsTable[factsIndex[static_cast<std::size_t>(input)]];
}

std::vector<float> listValues(Input input, const DesignBasis& basis)
{
    std::vector<float> values = listValues(input);
    for (const std::string_view item : extraListItems(input, basis, Material::unknown))
        values.push_back(*parseNumber(item, "."));
    std::sort(values.begin(), values.end());
    return values;
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

std::vector<std::string_view> extraListItems(Input input, const DesignBasis& basis,
                                             Material material)
{
    std::vector<std::string_view> candidates;
    if (input == materialInput && material == Material::glulam)
        candidates.push_back(glulamGammaM);
    if (basis.sizes == Sizes::extended) {
        // Breadths: the UK's regularised joists (38 found in no source,
        // 47 a T2 and 63 and 75 T1 sizes of the UK's EN 336 lists) and EN
        // 336's sawn 50. Depths: the regularised (T2) depths from 72 and the
        // sawn (T1) ones to 300. Each list from one source.
        if (input == Input::breadth)
            candidates = {"38", "47", "50", "63"};
        else if (input == Input::depth)
            candidates = {"72",  "97",  "120", "145", "170", "195",
                          "220", "245", "250", "295", "300"};
    }
    if (const std::optional<ServiceFactors> factors = serviceFactors(basis)) {
        const auto sc = static_cast<std::size_t>(basis.serviceClass) - 1;
        if (input == Input::kmod)
            candidates.assign(kmodByServiceClass[sc].begin(), kmodByServiceClass[sc].end());
        else if (input == Input::kmodGk)
            candidates.push_back(factors->kdef);
        else if (input == Input::kmodQk)
            candidates.push_back(factors->psi2Kdef);
    }
    // Only what the list does not hold already.
    const std::vector<float> fixed = listValues(input);
    std::vector<std::string_view> extra;
    for (const std::string_view item : candidates) {
        const std::optional<float> value = parseNumber(item, ".");
        if (value && std::find(fixed.begin(), fixed.end(), *value) == fixed.end())
            extra.push_back(item);
    }
    return extra;
}

std::string_view materialStartValue(Material material)
{
    return material == Material::glulam ? glulamGammaM : factsOf(materialInput).startValue;
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
