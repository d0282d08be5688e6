#pragma once

// Numbers to text and back, in the user's decimal separator: the reading of
// typed inputs, the ratio rounding, and the one number-to-text conversion.

#include <optional>
#include <string>
#include <string_view>

namespace joist {

// Reads a plain signed decimal, optionally with an exponent ("-1.5", "2,25e3"),
// written with the given decimal separator, as the nearest float. Blanks around
// the number are ignored. Anything else is rejected rather than guessed at: the
// empty text, a lone sign or separator, letters, a second separator, the other
// common separator, and values beyond single precision (too large, or so small
// that they would become 0).
std::optional<float> parseNumber(std::string_view text, std::string_view decimalSeparator);

// The same reading, saying why a text was refused.
enum class NumberProblem { none, empty, notANumber, outOfRange };
struct NumberReading
{
    std::optional<float> value;
    NumberProblem problem = NumberProblem::none;
};
NumberReading readNumber(std::string_view text, std::string_view decimalSeparator);

// The number format "#0.00#": at least one integer digit, two decimals, and a
// third decimal only when it is not zero, rounded to three decimals.
std::string formatRatio(float value, std::string_view decimalSeparator);

// The stored ratio: the value formatRatio's text reads back as, whatever the
// separator, without writing the text.
float roundedRatio(float value);

// The same rounding as a whole number of thousandths, from which both the
// stored ratio and its text follow: roundedRatio is it over 1000.
double ratioThousandths(float value);

// A number to at most `significantDigits` significant digits: no trailing
// zeros, no trailing separator, no grouping, a leading minus for a negative
// value, an exponent beyond that many digits ("1e+10"); 0 for either zero.
std::string numberText(double value, int significantDigits, std::string_view decimalSeparator);

// The general conversion of a stored value: seven significant digits.
std::string generalText(float value, std::string_view decimalSeparator);

// The same text, written in place: a check writes a dozen a keystroke.
class GeneralText
{
public:
    GeneralText(float value, std::string_view decimalSeparator);
    // A stored ratio's text, written from the thousandths it was stored from
    // without finding them again.
    GeneralText(float ratio, double thousandths, std::string_view decimalSeparator);
    std::string_view view() const { return {text_, length_}; }

private:
    void writeThousandths(long thousandths, std::string_view decimalSeparator);
    void writeGeneral(float value, std::string_view decimalSeparator);

    char text_[64];
    std::size_t length_ = 0;
};

// The shortest text, with "." as decimal separator, that reads back as the
// same float: how every file the program writes keeps a number.
std::string shortestText(float value);

} // namespace joist
