#pragma once

#include <array>
#include <string_view>

namespace ui {

// The twelve stored properties of a strength class, in the order the
// material window and the calculation sheet list them: field, symbol, unit.
struct StrengthClassProperty
{
    std::string_view field;
    std::string_view symbol;
    std::string_view unit;
};

inline constexpr std::array<StrengthClassProperty, 12> strengthClassProperties{{
    {"fm,k", "fm,k", "N/mm2"},
    {"ft,0,k", "ft,0,k", "N/mm2"},
    {"ft,90,k", "ft,90,k", "N/mm2"},
    {"fc,0,k", "fc,0,k", "N/mm2"},
    {"fc,90,k", "fc,90,k", "N/mm2"},
    {"fv,k", "fv,k", "N/mm2"},
    {"E0,mean", "Emean", "kN/mm2"},
    {"Ek", "Ek", "kN/mm2"},
    {"E90,mean", "E90,mean", "kN/mm2"},
    {"Gmean", "Gmean", "kN/mm2"},
    {"rmean", "\u03C1mean", "kg/m3"},
    {"rk", "\u03C1k", "kg/m3"},
}};

} // namespace ui
