#include "engine/design_aid_memo.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace joist {
namespace {

// Past this many designs the memo starts again, so that a schedule whose
// every row differs keeps its memory bounded.
constexpr std::size_t largestMemo = 20000;

// Pruning needs uses enough to repay searching the longest spans.
constexpr int usesBeforePruning = 4;

// The inputs a memo's designs share: all but the span and the section.
constexpr auto sharedInputs = [] {
    std::array<float JoistDesign::*, inputDefinitions.size() - 3> members{};
    std::size_t i = 0;
    for (const InputDefinition& definition : inputDefinitions) {
        if (definition.member != &JoistDesign::span && definition.member != &JoistDesign::breadth &&
            definition.member != &JoistDesign::depth)
            members[i++] = definition.member;
    }
    return members;
}();

// The whole millimetres the searches would check for this span, if it is one.
std::optional<int> searchedMillimetres(float span)
{
    if (!(span >= 0.001f && span <= longestSpanSearched / 1000.0f))
        return std::nullopt;
    const int millimetres = int(std::lround(double(span) * 1000));
    if (spanOfMillimetres(millimetres) != span)
        return std::nullopt;
    return millimetres;
}

} // namespace

std::size_t DesignAidMemo::KeyHash::operator()(const Key& key) const
{
    std::size_t hash = 14695981039346656037u;
    for (const std::uint32_t word : key.inputs)
        hash = (hash ^ word) * 1099511628211u;
    return hash;
}

DesignAidMemo::DesignAidMemo(std::span<const Section> byArea)
    : byArea_(byArea.begin(), byArea.end())
{}

DesignAidMemo::Entry& DesignAidMemo::entryOf(const JoistDesign& inputs)
{
    Key key{{},
            inputs.basis,
            inputs.material,
            std::bit_cast<std::uint32_t>(inputs.rhoK),
            inputs.tablePresumesKcr};
    for (std::size_t i = 0; i < sharedInputs.size(); ++i)
        key.inputs[i] = std::bit_cast<std::uint32_t>(inputs.*sharedInputs[i]);
    if (entries_.size() >= largestMemo && !entries_.contains(key))
        entries_.clear();
    Entry& entry = entries_[key];
    if (entry.longest.empty())
        entry.longest.resize(byArea_.size());
    return entry;
}

const LongestSpan& DesignAidMemo::longestOf(Entry& entry, std::size_t section,
                                            const JoistDesign& inputs)
{
    std::optional<LongestSpan>& longest = entry.longest[section];
    if (!longest) {
        JoistDesign d = inputs;
        d.breadth = byArea_[section].breadth;
        d.depth = byArea_[section].depth;
        longest = findLongestSpan(d);
    }
    return *longest;
}

DesignAids DesignAidMemo::aids(const JoistDesign& inputs)
{
    if (const std::optional<std::string_view> problem = loadProblem(inputs))
        return {.noAnswer = problem};
    Entry& entry = entryOf(inputs);
    const auto listed =
        std::find(byArea_.begin(), byArea_.end(), Section{inputs.breadth, inputs.depth});
    return {listed == byArea_.end()
                ? findLongestSpan(inputs)
                : longestOf(entry, std::size_t(listed - byArea_.begin()), inputs),
            lightestSection(entry, inputs)};
}

std::optional<Section> DesignAidMemo::lightestSection(Entry& entry, const JoistDesign& inputs)
{
    const std::optional<int> millimetres = searchedMillimetres(inputs.span);
    if (!millimetres || ++entry.uses <= usesBeforePruning)
        return findLightestSection(inputs, byArea_);
    JoistDesign d = inputs; // each check overwrites the steps it stores
    for (std::size_t i = 0; i < byArea_.size(); ++i) {
        // Above its longest span a section fails: that span is the longest that passes.
        const LongestSpan& longest = longestOf(entry, i, inputs);
        if (longest.kind == LongestSpan::Kind::none ||
            (longest.kind == LongestSpan::Kind::millimetres && longest.millimetres < *millimetres))
            continue;
        d.breadth = byArea_[i].breadth;
        d.depth = byArea_[i].depth;
        if (evaluateInPlace(d) == Verdict::passes)
            return byArea_[i];
    }
    return std::nullopt;
}

} // namespace joist
