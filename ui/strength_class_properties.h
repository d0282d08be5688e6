#pragma once

#include <array>
#include <string_view>

#include "materials/strength_class_fields.h"

namespace ui {

// The twelve stored properties of a strength class, in the order the
// material window and the calculation sheet list them: field as the table
// names it, symbol, unit.
struct StrengthClassProperty
{
    std::string_view field;
    std::string_view symbol;
    std::string_view unit;
};

inline constexpr std::array<StrengthClassProperty, 12> strengthClassProperties{{
    {materials::propertyFieldNames[0], "fm,k", "N/mm2"},
    {materials::propertyFieldNames[1], "ft,0,k", "N/mm2"},
    {materials::propertyFieldNames[2], "ft,90,k", "N/mm2"},
    {materials::propertyFieldNames[3], "fc,0,k", "N/mm2"},
    {materials::propertyFieldNames[4], "fc,90,k", "N/mm2"},
    {materials::propertyFieldNames[5], "fv,k", "N/mm2"},
    {materials::propertyFieldNames[6], "Emean", "kN/mm2"},
    {materials::propertyFieldNames[7], "Ek", "kN/mm2"},
    {materials::propertyFieldNames[8], "E90,mean", "kN/mm2"},
    {materials::propertyFieldNames[9], "Gmean", "kN/mm2"},
    {materials::propertyFieldNames[10], "\u03C1mean", "kg/m3"},
    {materials::propertyFieldNames[11], "\u03C1k", "kg/m3"},
}};

} // namespace ui
