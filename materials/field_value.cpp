#include "materials/field_value.h"

#include <array>
#include <charconv>

namespace materials {
namespace {

std::string integerText(std::int64_t value)
{
    std::array<char, 24> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string realText(double value, std::string_view decimalSeparator)
{
    if (value == 0) // negative zero is not a negative number
        return "0";
    // "%.15g": fifteen significant digits, trailing zeros dropped; always fits.
    std::array<char, 32> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    const std::string_view plain(buffer.data(),
                                 static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t point = plain.find('.');
    if (point == std::string_view::npos)
        return std::string(plain);
    std::string text(plain.substr(0, point));
    text.append(decimalSeparator);
    text.append(plain.substr(point + 1));
    return text;
}

} // namespace

std::optional<std::string> fieldText(const FieldValue& v, std::string_view decimalSeparator)
{
    if (const auto* integer = std::get_if<std::int64_t>(&v.value))
        return integerText(*integer);
    if (const auto* real = std::get_if<double>(&v.value))
        return realText(*real, decimalSeparator);
    if (const auto* text = std::get_if<std::string>(&v.value))
        return *text;
    return std::nullopt;
}

} // namespace materials
