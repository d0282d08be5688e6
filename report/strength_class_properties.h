#pragma once

// The twelve stored properties of a strength class: field, symbol, unit and
// their row in the material window.

#include <array>
#include <string_view>

#include "materials/strength_class_fields.h"

namespace report {

// The twelve stored properties of a strength class, in the order the
// material window and the calculation sheet list them: field as the table
// names it, symbol, unit, and how the material window's panel shows it (the
// name of its value label, its caption's width in twips, and for a Greek
// symbol the Symbol-font letter and the subscript drawn beside it).
struct StrengthClassProperty
{
    std::string_view field;
    std::string_view symbol;
    std::string_view unit;
    std::string_view valueName;
    int captionWidth = 735;
    std::string_view greekLetter = {};
    std::string_view subscript = {};
    int subscriptDrop = 0; // below the value's top, in twips
    // EN 338's symbol on the calculation sheet, where the window's differs.
    std::string_view sheetSymbol = {};
};

inline constexpr std::string_view sheetSymbolOf(const StrengthClassProperty& property)
{
    return property.sheetSymbol.empty() ? property.symbol : property.sheetSymbol;
}

inline constexpr std::array<StrengthClassProperty, 12> strengthClassProperties{{
    {materials::propertyFieldNames[0], "fm,k", "N/mm2", "fmkLbl", 375},
    {materials::propertyFieldNames[1], "ft,0,k", "N/mm2", "Label5", 615},
    {materials::propertyFieldNames[2], "ft,90,k", "N/mm2", "Label4", 615},
    {materials::propertyFieldNames[3], "fc,0,k", "N/mm2", "fc0kLbl", 615},
    {materials::propertyFieldNames[4], "fc,90,k", "N/mm2", "fc90kLbl", 615},
    {materials::propertyFieldNames[5], "fv,k", "N/mm2", "fvkLbl"},
    {materials::propertyFieldNames[6], "Emean", "kN/mm2", "EmeanLbl", 735, {}, {}, 0, "E0,mean"},
    {materials::propertyFieldNames[7], "Ek", "kN/mm2", "Label16", 735, {}, {}, 0, "E0,05"},
    {materials::propertyFieldNames[8], "E90,mean", "kN/mm2", "Label26"},
    {materials::propertyFieldNames[9], "Gmean", "kN/mm2", "Label29"},
    {materials::propertyFieldNames[10], "\u03C1mean", "kg/m3", "RmeanLbl", 735, "r", "mean", 30},
    {materials::propertyFieldNames[11], "\u03C1k", "kg/m3", "Label33", 735, "r", "k", 0},
}};

} // namespace report
