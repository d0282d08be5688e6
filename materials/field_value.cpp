#include "materials/field_value.h"

#include <array>
#include <charconv>

#include "engine/number_text.h"

namespace materials {
namespace {

std::string integerText(std::int64_t value)
{
    std::array<char, 24> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

} // namespace

std::optional<std::string> fieldText(const FieldValue& v, std::string_view decimalSeparator)
{
    if (const auto* integer = std::get_if<std::int64_t>(&v.value))
        return integerText(*integer);
    if (const auto* real = std::get_if<double>(&v.value))
        return joist::numberText(*real, 15, decimalSeparator);
    if (const auto* text = std::get_if<std::string>(&v.value))
        return *text;
    return std::nullopt;
}

} // namespace materials
