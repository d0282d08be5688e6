#include "ui/main_window_layout.h"

#include <array>

namespace ui {
namespace {

using K = ControlKind;

// Decimal texts are written with a full stop; the window shows them in the
// user's locale.
constexpr std::array mainLayout = std::to_array<Placement>({
    // Top band: the floor illustration and the section sketch.
    {"IsoImg", K::image, 225, 240, 6240, 2835, ":/joist/floor.png"},
    {"Pic", K::pictureBox, 6480, 240, 4215, 2835, ""},

    // Left block: span, spacing, bearing, camber.
    {"", K::label, 360, 3360, 975, 255, "Span of Joist"},
    {"spanTxt", K::textBox, 2040, 3360, 735, 285, "4"},
    {"", K::label, 3000, 3360, 495, 255, "m"},
    {"", K::label, 360, 3840, 1575, 255, "Spacing of Joists, S"},
    {"cmbSpacing", K::dropDownList, 2040, 3840, 975, 315, "200|300|400|450|500|550|600"},
    {"", K::label, 3240, 3840, 495, 255, "mm"},
    {"", K::label, 360, 4320, 1455, 255, "Bearing Length"},
    {"bearLTxt", K::textBox, 2040, 4320, 735, 285, "4"},
    {"", K::label, 3000, 4320, 495, 255, "mm"},
    {"", K::label, 360, 4800, 1335, 255, "Initial Camber, u 0"},
    {"u0Txt", K::textBox, 2040, 4800, 735, 285, "0"},
    {"", K::label, 3000, 4800, 495, 255, "mm"},

    // Middle block: section, class, loads.
    {"", K::label, 3960, 3360, 1575, 255, "Section Width"},
    {"cmbBreadth", K::dropDownList, 5640, 3360, 975, 315, "36|44|75"},
    {"", K::label, 6840, 3360, 615, 255, "mm"},
    {"", K::label, 3960, 3840, 1575, 255, "Section Depth"},
    {"cmbDepth", K::dropDownList, 5640, 3840, 975, 315, "100|115|125|150|175|200|225"},
    {"", K::label, 6840, 3840, 615, 255, "mm"},
    {"", K::label, 3960, 4320, 1215, 255, "Strength Class"},
    {"cmbSC", K::dropDownList, 5640, 4320, 975, 315, ""},
    {"", K::label, 3960, 4920, 975, 255, "Dead Load"},
    {"deadTxt", K::textBox, 5640, 4920, 735, 285, "0.4"},
    {"", K::label, 6840, 4920, 615, 255, "kN/m2"},
    {"", K::label, 3960, 5400, 975, 255, "Live Load"},
    {"liveTxt", K::textBox, 5640, 5400, 735, 285, "1.5"},
    {"", K::label, 6840, 5400, 615, 255, "kN/m2"},

    // Right block: factors, each caption 120 lower than its list.
    {"", K::label, 8640, 3480, 975, 255, "k mod"},
    {"cmbKmod", K::dropDownList, 9720, 3360, 975, 315, "0.8|1.0"},
    {"", K::label, 8640, 3960, 975, 255, "k crit"},
    {"cmbKcrit", K::dropDownList, 9720, 3840, 975, 315, "1"},
    {"", K::label, 8640, 4440, 975, 255, "k ls"},
    {"cmbKls", K::dropDownList, 9720, 4320, 975, 315, "1"},
    {"", K::label, 8640, 4920, 975, 255, "k h"},
    {"cmbKh", K::dropDownList, 9720, 4800, 975, 315, "1"},
    {"", K::label, 8640, 5400, 975, 255, "g m"},
    {"cmbGm", K::dropDownList, 9720, 5280, 975, 315, "1.3"},
    {"", K::label, 8640, 5880, 975, 255, "k mod gk"},
    {"cmbKmodGk", K::dropDownList, 9720, 5760, 975, 315, "0.8"},
    {"", K::label, 8640, 6360, 975, 255, "k mod qk"},
    {"cmbKmodQk", K::dropDownList, 9720, 6240, 975, 315, "0.25"},

    // Material block: the selected class's properties.
    {"showDBdataBtn", K::commandButton, 360, 5520, 1695, 375, "Show Material Data"},
    {"", K::label, 360, 6120, 1095, 255, "Strength Class"},
    {"SCLbl", K::label, 1560, 6120, 375, 255, ""},
    {"", K::label, 2040, 6120, 1095, 255, "Properties"},
    {"", K::label, 360, 6480, 1035, 255, "fm,k"},
    {"fmkLbl", K::label, 1440, 6480, 735, 255, ""},
    {"", K::label, 2160, 6480, 735, 255, "N/mm2"},
    {"", K::label, 360, 6720, 1035, 255, "fc,0,k"},
    {"fc0kLbl", K::label, 1440, 6720, 735, 255, ""},
    {"", K::label, 2160, 6720, 735, 255, "N/mm2"},
    {"", K::label, 360, 6960, 1035, 255, "fc,90,k"},
    {"fc90kLbl", K::label, 1440, 6960, 735, 255, ""},
    {"", K::label, 2160, 6960, 735, 255, "N/mm2"},
    {"", K::label, 360, 7200, 1035, 255, "fv,k"},
    {"fvkLbl", K::label, 1440, 7200, 735, 255, ""},
    {"", K::label, 2160, 7200, 735, 255, "N/mm2"},
    {"", K::label, 360, 7440, 1035, 255, "E mean"},
    {"EmeanLbl", K::label, 1440, 7440, 735, 255, ""},
    {"", K::label, 2160, 7440, 735, 255, "kN/mm2"},
    {"", K::label, 360, 7680, 1035, 255, "Density"},
    {"RmeanLbl", K::label, 1440, 7680, 735, 255, ""},
    {"", K::label, 2160, 7680, 735, 255, "kg/m3"},

    // Results block.
    {"Line1", K::line, 3960, 6000, 3360, 0, ""},
    {"", K::boldLabel, 3960, 6120, 855, 255, "Result:"},
    {"governedByLbl", K::boldLabel, 4800, 6120, 3375, 255, ""},
    {"Line2", K::line, 3960, 6480, 3360, 0, ""},
    {"", K::label, 3960, 6600, 795, 255, "Overall:"},
    {"unityRatioLbl", K::label, 4800, 6600, 615, 255, ""},
    {"", K::label, 3960, 6960, 795, 255, "Bending"},
    {"bendingResLbl", K::label, 4800, 6960, 615, 255, ""},
    {"", K::label, 3960, 7320, 795, 255, "Shear"},
    {"shearResLbl", K::label, 4800, 7320, 615, 255, ""},
    {"", K::label, 3960, 7680, 795, 255, "Bearing"},
    {"bearingResLbl", K::label, 4800, 7680, 615, 255, ""},
    {"", K::label, 5760, 6960, 795, 255, "u 2"},
    {"u2ResLbl", K::label, 6600, 6960, 615, 255, ""},
    {"", K::label, 5760, 7320, 795, 255, "u 2,fin"},
    {"u2_finResLbl", K::label, 6600, 7320, 615, 255, ""},
    {"", K::label, 5760, 7680, 795, 255, "u net,fin"},
    {"u_net_finResLbl", K::label, 6600, 7680, 615, 255, ""},

    // The message line: why the results are out of date, when they are.
    {"messageLbl", K::label, 360, 7965, 10290, 255, ""},
});

constexpr std::array<std::pair<std::string_view, std::string_view>, 35> accessibleNames{{
    {"spanTxt", "Span of Joist, m"},
    {"cmbSpacing", "Spacing of Joists, S, mm"},
    {"bearLTxt", "Bearing Length, mm"},
    {"u0Txt", "Initial Camber, u 0, mm"},
    {"cmbBreadth", "Section Width, mm"},
    {"cmbDepth", "Section Depth, mm"},
    {"cmbSC", "Strength Class"},
    {"deadTxt", "Dead Load, kN/m2"},
    {"liveTxt", "Live Load, kN/m2"},
    {"cmbKmod", "k mod"},
    {"cmbKcrit", "k crit"},
    {"cmbKls", "k ls"},
    {"cmbKh", "k h"},
    {"cmbGm", "g m"},
    {"cmbKmodGk", "k mod gk"},
    {"cmbKmodQk", "k mod qk"},
    {"showDBdataBtn", "Show Material Data"},
    {"SCLbl", "Strength Class"},
    {"fmkLbl", "fm,k, N/mm2"},
    {"fc0kLbl", "fc,0,k, N/mm2"},
    {"fc90kLbl", "fc,90,k, N/mm2"},
    {"fvkLbl", "fv,k, N/mm2"},
    {"EmeanLbl", "E mean, kN/mm2"},
    {"RmeanLbl", "Density, kg/m3"},
    {"governedByLbl", "Result"},
    {"unityRatioLbl", "Overall ratio"},
    {"bendingResLbl", "Bending ratio"},
    {"shearResLbl", "Shear ratio"},
    {"bearingResLbl", "Bearing ratio"},
    {"u2ResLbl", "u 2 ratio"},
    {"u2_finResLbl", "u 2,fin ratio"},
    {"u_net_finResLbl", "u net,fin ratio"},
    {"messageLbl", "Message"},
    {"IsoImg", "Floor illustration"},
    {"Pic", "Section sketch"},
}};

constexpr std::array<std::string_view, 17> focusOrder{
    "spanTxt", "cmbSpacing", "cmbBreadth", "cmbDepth",  "cmbSC",        "bearLTxt",
    "deadTxt", "liveTxt",    "cmbKmod",    "cmbKmodQk", "cmbKmodGk",    "cmbGm",
    "cmbKh",   "cmbKls",     "cmbKcrit",   "u0Txt",     "showDBdataBtn"};

} // namespace

std::span<const Placement> mainWindowLayout()
{
    return mainLayout;
}

std::span<const std::string_view> mainWindowFocusOrder()
{
    return focusOrder;
}

std::span<const std::pair<std::string_view, std::string_view>> mainWindowAccessibleNames()
{
    return accessibleNames;
}

} // namespace ui
