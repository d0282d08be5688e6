#include "ui/input_messages.h"

#include "engine/design_inputs.h"
#include "engine/number_text.h"
#include "io/display_text.h"

namespace ui {
namespace {

// A short, printable copy of what the user typed or pasted.
std::string quoted(std::string_view text)
{
    std::string out = "\"";
    out += io::displayText(text).toStdString();
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
    const std::string lead(joist::factsOf(input).caption);
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
    // A decimal written another common way is the likeliest slip: a full
    // stop or a comma where the locale writes another mark (Arabic and
    // Persian write U+066B).
    for (const std::string_view other : {std::string_view("."), std::string_view(",")}) {
        if (other == decimalSeparator)
            continue;
        if (looksGrouped(text, other))
            return lead + " " + quoted(text) +
                   " is not a number here; numbers are written without thousands separators, "
                   "with \"" +
                   std::string(decimalSeparator) + "\" for decimals.";
        if (text.find(other) != std::string_view::npos) {
            const std::string corrected = swapped(text, other, decimalSeparator);
            if (joist::parseNumber(corrected, decimalSeparator))
                return lead + " " + quoted(text) + " is not a number here; write it " +
                       quoted(corrected) + ".";
        }
    }
    return lead + " " + quoted(text) + " is not a number.";
}

} // namespace ui
