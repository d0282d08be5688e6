#include "ui/input_messages.h"

#include <algorithm>
#include <cstdio>

#include "engine/number_text.h"
#include "ui/input_table.h"

namespace ui {
namespace {

// Characters that reorder the text around them: shown as "<U+202E>", so a
// message always reads in the order it was written.
bool isDirectionControl(char32_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

// A short, printable copy of what the user typed or pasted.
std::string quoted(std::string_view text)
{
    constexpr std::size_t shown = 24;
    std::string out = "\"";
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t c = lead;
        if (lead >= 0xC0) {
            length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
            c = lead & (0x3F >> (length - 1));
            for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
                c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        length = std::min(length, text.size() - i);
        if (++characters > shown) {
            out += "\u2026";
            break;
        }
        if (c < 0x20 || c == 0x7F) {
            out += ' ';
        } else if (isDirectionControl(c)) {
            char code[16];
            std::snprintf(code, sizeof code, "<U+%04X>", static_cast<unsigned>(c));
            out += code;
        } else {
            out.append(text.substr(i, length));
        }
        i += length;
    }
    return out + "\"";
}

// Three digits after the other separator look like a thousands group
// ("1,000"): a rewrite as a decimal would likely change the number meant.
bool looksGrouped(std::string_view text, std::string_view other)
{
    for (std::size_t at = text.find(other); at != std::string_view::npos;
         at = text.find(other, at + 1)) {
        std::size_t digits = 0;
        std::size_t i = at + other.size();
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++digits;
            ++i;
        }
        if (digits == 3 && (i == text.size() || text[i] < '0' || text[i] > '9'))
            return true;
    }
    return false;
}

std::string swapped(std::string_view text, std::string_view from, std::string_view to)
{
    std::string out(text);
    for (std::size_t at = out.find(from); at != std::string::npos;
         at = out.find(from, at + to.size()))
        out.replace(at, from.size(), to);
    return out;
}

} // namespace

std::string inputProblemMessage(joist::Input input, std::string_view text,
                                std::string_view decimalSeparator)
{
    const std::string lead(inputRow(input).caption);
    const joist::NumberReading reading = joist::readNumber(text, decimalSeparator);
    switch (reading.problem) {
    case joist::NumberProblem::empty:
        return lead + " is empty.";
    case joist::NumberProblem::outOfRange:
        return lead + " " + quoted(text) + " is beyond the range of numbers the check can hold.";
    case joist::NumberProblem::none:
    case joist::NumberProblem::notANumber:
        break;
    }
    // A decimal written the other common way is the likeliest slip.
    const std::string_view other = decimalSeparator == "," ? "." : ",";
    if (decimalSeparator != other && looksGrouped(text, other))
        return lead + " " + quoted(text) +
               " is not a number here; numbers are written without thousands separators, with \"" +
               std::string(decimalSeparator) + "\" for decimals.";
    if (decimalSeparator != other && text.find(other) != std::string_view::npos) {
        const std::string corrected = swapped(text, other, decimalSeparator);
        if (joist::parseNumber(corrected, decimalSeparator))
            return lead + " " + quoted(text) + " is not a number here; write it " +
                   quoted(corrected) + ".";
    }
    return lead + " " + quoted(text) + " is not a number.";
}

} // namespace ui
