#pragma once

// The field names of the strength-class table that the program reads.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace materials {

inline constexpr std::string_view tableName = "Sheet1";

// The class name is read by position by the main window and by name by the
// material data window, so both must be this one field.
inline constexpr std::string_view classFieldName = "Class";
inline constexpr int classFieldPosition = 1;

// The twelve properties, named exactly as stored, commas included. Units:
// strengths N/mm2, moduli kN/mm2, densities kg/m3.
inline constexpr std::array<std::string_view, 12> propertyFieldNames{
    "fm,k",    "ft,0,k", "ft,90,k",  "fc,0,k", "fc,90,k", "fv,k",
    "E0,mean", "Ek",     "E90,mean", "Gmean",  "rmean",   "rk",
};

// EN 338 names a class in three or four characters; a name of a table edited
// by hand may describe more. 255 is the longest text field of the Access
// table format the file's name comes from, and bounds what the windows, the
// sheet and its PDF lay out.
inline constexpr std::size_t longestClassName = 255;

// The class list counts rows in 16 bits and advances its counter once past
// the last row, so this is the largest table the program can list.
inline constexpr std::int32_t largestClassCount = 32766;

} // namespace materials
