#pragma once

// The design aids of many designs that share everything but their span and
// section, as the rows of a schedule often do. Each listed section's longest
// span is searched once and kept: it answers the longest span, which the
// search finds whatever span it starts from, and rules out for the lightest
// section every listed section whose longest span is shorter than the span,
// as it is the longest whole millimetre that passes. Every answer is the one
// the searches give each design alone.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

#include "engine/design_aids.h"
#include "engine/design_inputs.h"
#include "engine/joist_design.h"

namespace joist {

class DesignAidMemo
{
public:
    // The listed sections in the order the lightest is searched.
    explicit DesignAidMemo(std::span<const Section> byArea);

    // As findLongestSpan, which does not depend on the span of the inputs,
    // and findLightestSection over the listed sections.
    DesignAids aids(const JoistDesign& inputs);

private:
    // The inputs but the span and section, bit for bit, the basis and what
    // the class's table says of it beyond its values.
    struct Key
    {
        std::array<std::uint32_t, inputDefinitions.size() - 3> inputs{};
        DesignBasis basis;
        Material material = Material::unknown;
        std::uint32_t rhoK = 0;
        bool tablePresumesKcr = false;
        friend bool operator==(const Key&, const Key&) = default;
    };
    struct KeyHash
    {
        std::size_t operator()(const Key& key) const;
    };
    struct Entry
    {
        std::vector<std::optional<LongestSpan>> longest; // by listed section
        int uses = 0;
    };

    Entry& entryOf(const JoistDesign& inputs);
    std::optional<Section> lightestSection(Entry& entry, const JoistDesign& inputs);
    const LongestSpan& longestOf(Entry& entry, std::size_t section, const JoistDesign& inputs);

    std::vector<Section> byArea_;
    std::unordered_map<Key, Entry, KeyHash> entries_;
};

} // namespace joist
