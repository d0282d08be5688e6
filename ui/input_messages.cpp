#include "ui/input_messages.h"

#include "engine/number_text.h"
#include "ui/input_table.h"

namespace ui {
namespace {

// A short, printable copy of what the user typed or pasted.
std::string quoted(std::string_view text)
{
    constexpr std::size_t shown = 24;
    std::string out = "\"";
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool continuation = (byte & 0xC0) == 0x80;
        if (!continuation && ++characters > shown) {
            out += "\u2026";
            break;
        }
        out += byte < 0x20 || byte == 0x7F ? ' ' : text[i];
    }
    return out + "\"";
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
    const std::string lead = "Results out of date: " + std::string(inputRow(input).caption);
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
    if (decimalSeparator != other && text.find(other) != std::string_view::npos) {
        const std::string corrected = swapped(text, other, decimalSeparator);
        if (joist::parseNumber(corrected, decimalSeparator))
            return lead + " " + quoted(text) + " is not a number here; write it " +
                   quoted(corrected) + ".";
    }
    return lead + " " + quoted(text) + " is not a number.";
}

} // namespace ui
