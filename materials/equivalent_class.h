#pragma once

// The class a design moves to when its strength-class table changes, as
// EN 338 and EN 14080 name classes: letters, then the strength number
// (fm,k in N/mm2), then perhaps a letter ("C24", "D30", "GL24h").

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace materials {

// The strength number in a class name: "GL24h" 24; none without digits.
std::optional<int> strengthNumber(std::string_view className);

// Where `className` stands in `names` (the new table's classes, in stored
// order): its own name where the table has it; else a class of the same
// strength number, one with the same letters first (C24 to GL24h); else one
// of the next lower number offered, never a stronger class than was chosen
// where a weaker one exists; else the weakest class. A name without a
// strength number, or a table without one, gives the first row.
// `names` must not be empty.
std::size_t equivalentClass(std::span<const std::string> names, std::string_view className);

} // namespace materials
