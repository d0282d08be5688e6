#include "ui/input_table.h"

#include <algorithm>
#include <stdexcept>

#include "engine/number_text.h"

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

constexpr auto rows = std::to_array<InputRow>({
    {Input::fmk, "fmkLbl", K::valueLabel, "fm,k", "N/mm2", "fm,k", "", "", material(6480)},
    {Input::fc90k, "fc90kLbl", K::valueLabel, "fc,90,k", "N/mm2", "fc,90,k", "", "",
     material(6960)},
    {Input::fvk, "fvkLbl", K::valueLabel, "fv,k", "N/mm2", "fv,k", "", "", material(7200)},
    {Input::e0mean,
     "EmeanLbl",
     K::valueLabel,
     "E mean",
     "kN/mm2",
     "E0,mean",
     "",
     "",
     material(7440),
     0,
     {},
     "E0,mean"},
    {Input::rhoMean, "RmeanLbl", K::valueLabel, "Density", "kg/m3", "rmean", "", "",
     material(7680)},
    {Input::spacing, "cmbSpacing", K::dropDownList, "Spacing of Joists, S", "mm", "",
     "200|300|400|450|500|550|600", "300", leftList(3840, 1575), 2, "spacing"},
    {Input::breadth, "cmbBreadth", K::dropDownList, "Section Width", "mm", "", "36|44|75", "44",
     middleList(3360), 3, "breadth"},
    {Input::depth, "cmbDepth", K::dropDownList, "Section Depth", "mm", "",
     "100|115|125|150|175|200|225", "225", middleList(3840), 4, "depth"},
    {Input::kmod, "cmbKmod", K::dropDownList, "k mod", "", "", "0.8|1.0", "0.8", factor(3360), 9,
     "kmod", "kmod"},
    {Input::kcrit, "cmbKcrit", K::dropDownList, "k crit", "", "", "1", "1", factor(3840), 15,
     "kcrit", "kcrit"},
    {Input::kls, "cmbKls", K::dropDownList, "k ls", "", "", "1", "1", factor(4320), 14, "kls",
     "ksys"},
    {Input::kh, "cmbKh", K::dropDownList, "k h", "", "", "1", "1", factor(4800), 13, "kh", "kh"},
    {Input::gammaM, "cmbGm", K::dropDownList, "g m", "", "", "1.3", "1.3", factor(5280), 12,
     "gammaM", "\u03B3M"},
    {Input::kmodGk, "cmbKmodGk", K::dropDownList, "k mod gk", "", "", "0.8", "0.8", factor(5760),
     11, "kmodGk", "kdef"},
    {Input::kmodQk, "cmbKmodQk", K::dropDownList, "k mod qk", "", "", "0.25", "0.25", factor(6240),
     10, "kmodQk", "\u03C82\u00B7kdef"},
    {Input::bearingLength, "bearLTxt", K::textBox, "Bearing Length", "mm", "", "4", "50",
     leftBox(4320, 1455), 6, "bearingLength"},
    {Input::camber, "u0Txt", K::textBox, "Initial Camber, u 0", "mm", "", "0", "0",
     leftBox(4800, 1335), 16, "camber", "w_c"},
    {Input::span, "spanTxt", K::textBox, "Span of Joist", "m", "", "4", "", leftBox(3360, 975), 1,
     "span"},
    {Input::deadLoad, "deadTxt", K::textBox, "Dead Load", "kN/m2", "", "0.4", "", middleBox(4920),
     7, "deadLoad"},
    {Input::liveLoad, "liveTxt", K::textBox, "Live Load", "kN/m2", "", "1.5", "", middleBox(5400),
     8, "liveLoad"},
});

// Each input once, so that the lookup below is a plain index.
constexpr std::array<std::size_t, joist::inputDefinitions.size()> rowIndex = [] {
    std::array<std::size_t, joist::inputDefinitions.size()> index{};
    std::array<bool, joist::inputDefinitions.size()> seen{};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto input = static_cast<std::size_t>(rows[i].input);
        if (seen[input])
            throw std::logic_error("an input stands twice in the input table");
        seen[input] = true;
        index[input] = i;
    }
    for (bool s : seen)
        if (!s)
            throw std::logic_error("an input is missing from the input table");
    return index;
}();

} // namespace

std::span<const InputRow> inputRows()
{
    return rows;
}

const InputRow& inputRow(joist::Input input)
{
    return rows[rowIndex[static_cast<std::size_t>(input)]];
}

std::vector<float> listValues(joist::Input input)
{
    std::vector<float> values;
    std::string_view items = inputRow(input).designText;
    while (!items.empty()) {
        const std::size_t end = std::min(items.find('|'), items.size());
        if (const std::optional<float> value = joist::parseNumber(items.substr(0, end), "."))
            values.push_back(*value);
        items.remove_prefix(std::min(end + 1, items.size()));
    }
    return values;
}

std::string captionWithSymbol(const InputRow& row)
{
    std::string text(row.caption);
    if (!row.symbol.empty())
        text.append(" (").append(row.symbol).append(")");
    return text;
}

std::string inputCaption(joist::Input input)
{
    return std::string(inputRow(input).caption);
}

std::string accessibleInputName(const InputRow& row)
{
    std::string name(row.caption);
    if (!row.unit.empty())
        name.append(", ").append(row.unit);
    return name;
}

} // namespace ui
