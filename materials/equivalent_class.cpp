#include "materials/equivalent_class.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace materials {
namespace {

std::string_view lettersOf(std::string_view className)
{
    const auto digit = std::find_if(className.begin(), className.end(),
                                    [](unsigned char c) { return std::isdigit(c); });
    return className.substr(0, std::size_t(digit - className.begin()));
}

} // namespace

std::optional<int> strengthNumber(std::string_view className)
{
    const std::string_view rest = className.substr(lettersOf(className).size());
    int number = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), number);
    if (error != std::errc() || end == rest.data())
        return std::nullopt;
    return number;
}

std::size_t equivalentClass(std::span<const std::string> names, std::string_view className)
{
    if (const auto same = std::find(names.begin(), names.end(), className); same != names.end())
        return std::size_t(same - names.begin());
    const std::optional<int> wanted = strengthNumber(className);
    if (!wanted)
        return 0;
    // The best so far: a number not above the one wanted, as high as may be,
    // the same letters preferred; failing that, the lowest number.
    std::optional<std::size_t> best;
    auto better = [&](std::size_t i, std::size_t than) {
        const int a = *strengthNumber(names[i]), b = *strengthNumber(names[than]);
        const bool aBelow = a <= *wanted, bBelow = b <= *wanted;
        if (aBelow != bBelow)
            return aBelow;
        if (a != b)
            return aBelow ? a > b : a < b;
        return lettersOf(names[i]) == lettersOf(className) &&
               lettersOf(names[than]) != lettersOf(className);
    };
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (strengthNumber(names[i]) && (!best || better(i, *best)))
            best = i;
    }
    return best.value_or(0);
}

} // namespace materials
