#include "engine/record_kind.h"

namespace joist::record_text {

std::string quoted(std::string_view text)
{
    // A message names what it refuses, not a whole file pasted into a cell.
    constexpr std::size_t longest = 40;
    std::string shown(1, '"');
    if (text.size() <= longest) {
        shown.append(text);
    } else {
        std::size_t cut = longest;
        while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
            --cut; // not inside a UTF-8 sequence
        shown.append(text.substr(0, cut)).append("\u2026");
    }
    return shown.append(1, '"');
}

std::string recordName(std::string_view name, std::size_t number)
{
    return std::string(name) + " " + std::to_string(number);
}

std::string whyNotANumber(NumberProblem problem)
{
    switch (problem) {
    case NumberProblem::empty:
        return ", which is empty";
    case NumberProblem::outOfRange:
        return ", a number beyond single precision";
    default:
        return ", which is not a number written with \".\" as decimal separator";
    }
}

std::string rangeWords(const ColumnRange& range, std::string_view unit)
{
    std::string words = ", which is not a number from ";
    words.append(generalText(range.least, ".")).append(" to ");
    if (range.toSpan)
        return words.append("the span");
    words.append(generalText(range.most, "."));
    if (!unit.empty())
        words.append(" ").append(unit);
    return words;
}

std::string quotedList(std::span<const std::string_view> items)
{
    std::string list;
    for (const std::string_view item : items)
        list += (list.empty() ? "" : ", ") + quoted(item);
    return list;
}

} // namespace joist::record_text
