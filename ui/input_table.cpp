#include "ui/input_table.h"

#include <algorithm>
#include <array>

#include "engine/design_inputs.h"

namespace ui {
namespace {

using K = ControlKind;
using joist::Input;

// Captions of the left block at 360, inputs at 2040; middle block at 3960 and
// 5640; factors at 8640 and 9720, each caption 120 below its list; material
// values at 1440.
constexpr InputPlaces leftBox(int top, int captionWidth)
{
    return {360, captionWidth, 2040, top, 735, 285, 3000, 495};
}
constexpr InputPlaces leftList(int top, int captionWidth)
{
    return {360, captionWidth, 2040, top, 975, 315, 3240, 495};
}
constexpr InputPlaces middleBox(int top)
{
    return {3960, 975, 5640, top, 735, 285, 6840, 615};
}
constexpr InputPlaces middleList(int top)
{
    return {3960, 1575, 5640, top, 975, 315, 6840, 615};
}
constexpr InputPlaces factor(int top)
{
    return {8640, 975, 9720, top, 975, 315, 0, 0, 120};
}
constexpr InputPlaces material(int top)
{
    return {360, 1035, 1440, top, 735, 255, 2160, 735};
}

constexpr auto views = std::to_array<InputView>({
    {Input::fmk, "fmkLbl", K::valueLabel, material(6480)},
    {Input::fc90k, "fc90kLbl", K::valueLabel, material(6960)},
    {Input::fvk, "fvkLbl", K::valueLabel, material(7200)},
    {Input::e0mean, "EmeanLbl", K::valueLabel, material(7440)},
    {Input::rhoMean, "RmeanLbl", K::valueLabel, material(7680)},
    {Input::spacing, "cmbSpacing", K::dropDownList, leftList(3840, 1575), 2},
    {Input::breadth, "cmbBreadth", K::dropDownList, middleList(3360), 3},
    {Input::depth, "cmbDepth", K::dropDownList, middleList(3840), 4},
    {Input::kmod, "cmbKmod", K::dropDownList, factor(3360), 9},
    {Input::kcrit, "cmbKcrit", K::dropDownList, factor(3840), 15},
    {Input::kls, "cmbKls", K::dropDownList, factor(4320), 14},
    {Input::kh, "cmbKh", K::dropDownList, factor(4800), 13},
    {Input::gammaM, "cmbGm", K::dropDownList, factor(5280), 12},
    {Input::kmodGk, "cmbKmodGk", K::dropDownList, factor(5760), 11},
    {Input::kmodQk, "cmbKmodQk", K::dropDownList, factor(6240), 10},
    {Input::bearingLength, "bearLTxt", K::textBox, leftBox(4320, 1455), 6},
    {Input::camber, "u0Txt", K::textBox, leftBox(4800, 1335), 16},
    {Input::span, "spanTxt", K::textBox, leftBox(3360, 975), 1},
    {Input::deadLoad, "deadTxt", K::textBox, middleBox(4920), 7},
    {Input::liveLoad, "liveTxt", K::textBox, middleBox(5400), 8},
});

constexpr ControlKind controlFor(joist::InputEntry entry)
{
    switch (entry) {
    case joist::InputEntry::classValue:
        return K::valueLabel;
    case joist::InputEntry::typed:
        return K::textBox;
    case joist::InputEntry::list:
        return K::dropDownList;
    }
    return K::valueLabel;
}

// Each input once, so that the lookup below is a plain index.
constexpr auto viewIndex = joist::indexByInput(views);

// Each shown as it is entered.
static_assert([] {
    for (const joist::InputFacts& facts : joist::inputFactsTable)
        if (controlFor(facts.entry) != views[viewIndex[static_cast<std::size_t>(facts.input)]].kind)
            return false;
    return true;
}());

} // namespace

std::span<const InputView> inputViews()
{
    return views;
}

const InputView& inputView(joist::Input input)
{
    return views[viewIndex[static_cast<std::size_t>(input)]];
}

std::vector<joist::Input> inputsInFocusOrder()
{
    std::vector<const InputView*> ranked;
    for (const InputView& view : views)
        if (view.focus != 0 && joist::factsOf(view.input).field.empty())
            ranked.push_back(&view);
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const InputView* a, const InputView* b) { return a->focus < b->focus; });
    std::vector<joist::Input> inputs;
    for (const InputView* view : ranked)
        inputs.push_back(view->input);
    return inputs;
}

} // namespace ui
