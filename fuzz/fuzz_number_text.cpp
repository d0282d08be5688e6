// Text to number and number to text, against an independent oracle.
//
// Input: byte 0 picks the decimal separator ('.' or ',' name themselves; any
// other byte picks one of ".", "," and U+066B by its value); the rest is the
// text to read. Bytes 1 to 4, taken as a float, and the value read, if any,
// are also formatted and read back.
//
// Invariants:
// - parseNumber accepts exactly the texts of the grammar (blanks, optional
//   sign, digits, optional separator and digits, at least one digit, optional
//   exponent) whose value is a finite float that is not a nonzero decimal
//   rounded away to 0, and yields the float glibc's strtof (correctly rounded)
//   gives for the same text written with '.'; readNumber says why the others
//   are refused.
// - parseNumber reads formatRatio's text back as the nearest float to that
//   text; formatting that float again gives the same text.
// - generalText writes at most seven significant digits, and it reads back to
//   within the seven-digit rounding. A ratio rounded to three decimals below
//   10,000 reads back from its label text exactly.

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "engine/number_text.h"
#include "fuzz/fuzz_check.h"

namespace {

using fuzzing::escaped;
using fuzzing::fail;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// What the accepted grammar makes of a text, written without reference to the
// engine's reader.
struct GrammarMatch
{
    enum class Kind { blank, malformed, number } kind = Kind::malformed;
    std::string cLocaleText; // the number as strtof reads it in the C locale
    bool nonzeroDigits = false;
};

GrammarMatch matchGrammar(std::string_view text, std::string_view separator)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    GrammarMatch match;
    if (begin == end) {
        match.kind = GrammarMatch::Kind::blank;
        return match;
    }
    const std::string_view body = text.substr(begin, end - begin);
    std::size_t i = 0;
    std::string& out = match.cLocaleText;
    if (body[i] == '+' || body[i] == '-')
        out += body[i++];
    std::size_t mantissaDigits = 0;
    auto takeDigits = [&] {
        std::size_t taken = 0;
        while (i < body.size() && isDigit(body[i])) {
            match.nonzeroDigits |= body[i] != '0';
            out += body[i++];
            ++taken;
        }
        return taken;
    };
    mantissaDigits += takeDigits();
    if (!separator.empty() && body.substr(i).starts_with(separator)) {
        out += '.';
        i += separator.size();
        mantissaDigits += takeDigits();
    }
    if (mantissaDigits == 0)
        return match;
    if (i < body.size() && (body[i] == 'e' || body[i] == 'E')) {
        out += 'e';
        ++i;
        if (i < body.size() && (body[i] == '+' || body[i] == '-'))
            out += body[i++];
        std::size_t exponentDigits = 0;
        while (i < body.size() && isDigit(body[i])) {
            out += body[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return match;
    }
    if (i != body.size())
        return match;
    match.kind = GrammarMatch::Kind::number;
    return match;
}

// Checks the reading of one text against the grammar and strtof; returns the
// value read.
std::optional<float> checkReading(std::string_view text, std::string_view separator)
{
    const joist::NumberReading reading = joist::readNumber(text, separator);
    const std::optional<float> parsed = joist::parseNumber(text, separator);
    FUZZ_REQUIRE(parsed.has_value() == reading.value.has_value() &&
                     (!parsed || fuzzing::sameBits(*parsed, *reading.value)),
                 "parseNumber and readNumber disagree", escaped(text));
    FUZZ_REQUIRE(reading.value.has_value() == (reading.problem == joist::NumberProblem::none),
                 "readNumber gives a value together with a problem, or neither", escaped(text));

    const GrammarMatch match = matchGrammar(text, separator);
    switch (match.kind) {
    case GrammarMatch::Kind::blank:
        FUZZ_REQUIRE(reading.problem == joist::NumberProblem::empty,
                     "a blank text is not reported as empty", escaped(text));
        return std::nullopt;
    case GrammarMatch::Kind::malformed:
        FUZZ_REQUIRE(reading.problem == joist::NumberProblem::notANumber,
                     "a text outside the grammar is not refused as not a number",
                     escaped(text) + " separator " + escaped(separator));
        return std::nullopt;
    case GrammarMatch::Kind::number:
        break;
    }

    char* end = nullptr;
    errno = 0;
    const float expected = std::strtof(match.cLocaleText.c_str(), &end);
    FUZZ_REQUIRE(end == match.cLocaleText.c_str() + match.cLocaleText.size(),
                 "the oracle's text is not a whole number for strtof", escaped(match.cLocaleText));
    const bool inRange = std::isfinite(expected) && !(expected == 0 && match.nonzeroDigits);
    if (!inRange) {
        FUZZ_REQUIRE(reading.problem == joist::NumberProblem::outOfRange,
                     "a number beyond single precision is not refused as out of range",
                     escaped(text) + " separator " + escaped(separator));
        return std::nullopt;
    }
    FUZZ_REQUIRE(reading.problem == joist::NumberProblem::none, "a valid number is refused",
                 escaped(text) + " separator " + escaped(separator));
    FUZZ_REQUIRE(fuzzing::sameBits(*parsed, expected), "a number is not read as the nearest float",
                 escaped(text) + " read as " + fuzzing::bitsText(*parsed) + ", nearest is " +
                     fuzzing::bitsText(expected));
    return parsed;
}

std::string toChars(float value, std::chars_format format, int precision)
{
    std::array<char, 128> buffer;
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
    FUZZ_REQUIRE(error == std::errc(), "std::to_chars fails", fuzzing::bitsText(value));
    return std::string(buffer.data(), end);
}

// The number of significant digits of a general text: its mantissa's digits
// without leading zeros.
int significantDigits(std::string_view text)
{
    const std::size_t exponent = text.find_first_of("eE");
    const std::string_view mantissa = text.substr(0, exponent);
    int count = 0;
    bool leading = true;
    for (const char c : mantissa) {
        if (!isDigit(c))
            continue;
        if (leading && c == '0')
            continue;
        leading = false;
        ++count;
    }
    return count;
}

void checkFormatting(float value, std::string_view separator)
{
    if (!std::isfinite(value))
        return;
    const std::string valueText = fuzzing::bitsText(value);

    // "#0.00#"
    const std::string ratioText = joist::formatRatio(value, separator);
    const std::optional<float> rounded = checkReading(ratioText, separator);
    FUZZ_REQUIRE(rounded.has_value(), "a ratio text does not read back",
                 valueText + ": " + escaped(ratioText));
    FUZZ_REQUIRE(joist::formatRatio(*rounded, separator) == ratioText,
                 "a rounded ratio formats to a different text",
                 valueText + ": " + escaped(ratioText) + " read as " + fuzzing::bitsText(*rounded) +
                     " formats as " + escaped(joist::formatRatio(*rounded, separator)));
    FUZZ_REQUIRE(joist::roundedRatio(value) == *rounded,
                 "the stored ratio differs from its text read back",
                 valueText + ": " + escaped(ratioText) + " read as " + fuzzing::bitsText(*rounded) +
                     ", stored as " + fuzzing::bitsText(joist::roundedRatio(value)));

    // General text, for the value itself and for the ratio stored from it.
    for (const float shown : {value, *rounded}) {
        const std::string shownText = fuzzing::bitsText(shown);
        const std::string text = joist::generalText(shown, separator);
        FUZZ_REQUIRE(significantDigits(text) <= 7, "generalText writes more than seven digits",
                     shownText + ": " + escaped(text));
        FUZZ_REQUIRE(text == joist::numberText(shown, 7, separator),
                     "generalText's thousandths differ from the seven-digit conversion",
                     shownText + ": " + escaped(text));
        const std::optional<float> back = checkReading(text, separator);
        FUZZ_REQUIRE(back.has_value(), "a general text does not read back",
                     shownText + ": " + escaped(text));
        if (shown == 0) {
            FUZZ_REQUIRE(*back == 0, "zero does not read back as zero", escaped(text));
            continue;
        }
        // Within half a unit of the seventh digit of the value, plus the
        // rounding of the read to a float.
        const std::string scientific = toChars(shown, std::chars_format::scientific, 6);
        const int exponent = std::atoi(scientific.c_str() + scientific.find('e') + 1);
        const long double halfDigit = 0.5L * std::pow(10.0L, exponent - 6);
        const float next = std::nextafter(std::fabs(*back), std::numeric_limits<float>::infinity());
        const long double halfUlp = (static_cast<long double>(next) - std::fabs(*back)) / 2;
        const long double error = std::fabs(static_cast<long double>(*back) - shown);
        FUZZ_REQUIRE(error <= (halfDigit + halfUlp) * (1 + 1e-12L),
                     "a general text reads back beyond its seven-digit rounding",
                     shownText + ": " + escaped(text) + " read as " + fuzzing::bitsText(*back));
    }
    // The labels show stored ratios; below 10,000 three decimals fit in seven
    // digits, so the label text is the ratio itself.
    if (std::fabs(*rounded) < 10000) {
        const std::string label = joist::generalText(*rounded, separator);
        const std::optional<float> back = joist::parseNumber(label, separator);
        FUZZ_REQUIRE(back && *back == *rounded,
                     "a ratio label does not read back to the stored ratio",
                     fuzzing::bitsText(*rounded) + ": " + escaped(label));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view separator = fuzzing::separatorFromByte(data[0]);
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const std::optional<float> value = checkReading(text, separator);
    if (value)
        checkFormatting(*value, separator);
    if (text.size() >= sizeof(float)) {
        std::array<char, sizeof(float)> raw;
        std::copy_n(text.data(), raw.size(), raw.begin());
        checkFormatting(std::bit_cast<float>(raw), separator);
    }
    return 0;
}
