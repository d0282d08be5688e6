#pragma once

// One stored value of the table and the text a bound label shows for it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace materials {

// One value of a row as stored: null, integer, real or text.
struct FieldValue
{
    std::variant<std::monostate, std::int64_t, double, std::string> value;

    bool isNull() const { return std::holds_alternative<std::monostate>(value); }
};

// The general conversion to text that a bound label shows: a real with up to
// fifteen significant digits, no trailing zeros and no trailing separator,
// written with the caller's decimal separator (exponent form beyond fifteen
// digits, as "1e+20"); an integer as an integer; a text as it is. No grouping,
// no unit. A null value has no text.
std::optional<std::string> fieldText(const FieldValue& v, std::string_view decimalSeparator);

} // namespace materials
