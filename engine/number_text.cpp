#include "engine/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace joist {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view takeDigits(std::string_view& text)
{
    std::size_t n = 0;
    while (n < text.size() && isDigit(text[n]))
        ++n;
    const std::string_view digits = text.substr(0, n);
    text.remove_prefix(n);
    return digits;
}

// Text written with '.' becomes the caller's separator.
std::string withSeparator(std::string_view plain, std::string_view separator)
{
    std::string text(plain);
    const std::size_t point = text.find('.');
    if (point != std::string::npos)
        text.replace(point, 1, separator);
    return text;
}

} // namespace

std::optional<float> parseNumber(std::string_view text, std::string_view decimalSeparator)
{
    return readNumber(text, decimalSeparator).value;
}

NumberReading readNumber(std::string_view text, std::string_view decimalSeparator)
{
    constexpr NumberReading notANumber{std::nullopt, NumberProblem::notANumber};
    text = trimBlanks(text);
    if (text.empty())
        return {std::nullopt, NumberProblem::empty};
    if (decimalSeparator.empty())
        return notANumber;

    // The grammar: sign, digits, separator and digits, exponent.
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::string_view integerDigits = takeDigits(text);
    std::string_view fractionDigits;
    if (text.starts_with(decimalSeparator)) {
        text.remove_prefix(decimalSeparator.size());
        fractionDigits = takeDigits(text);
    }
    if (integerDigits.empty() && fractionDigits.empty())
        return notANumber;
    std::string_view exponent; // 'e', its sign and its digits
    if (!text.empty() && (text.front() == 'e' || text.front() == 'E')) {
        std::string_view rest = text.substr(1);
        if (!rest.empty() && (rest.front() == '+' || rest.front() == '-'))
            rest.remove_prefix(1);
        if (takeDigits(rest).empty())
            return notANumber;
        exponent = text.substr(0, text.size() - rest.size());
        text = rest;
    }
    if (!text.empty())
        return notANumber;

    // Up to seven digits without an exponent: the digits and the power of ten
    // are exact floats, so one float division rounds to the nearest float, as
    // from_chars does, for far less work. Most typed values are such.
    if (integerDigits.size() + fractionDigits.size() <= 7 && exponent.empty()) {
        std::uint32_t whole = 0;
        for (const std::string_view part : {integerDigits, fractionDigits}) {
            for (const char c : part)
                whole = whole * 10 + std::uint32_t(c - '0');
        }
        static constexpr std::array<float, 8> powersOfTen{1e0f, 1e1f, 1e2f, 1e3f,
                                                          1e4f, 1e5f, 1e6f, 1e7f};
        const float magnitude = static_cast<float>(whole) / powersOfTen[fractionDigits.size()];
        return {negative ? -magnitude : magnitude};
    }

    // The one form std::from_chars reads: no '+', a '.' separator.
    std::string plain = negative ? "-" : "";
    plain += integerDigits;
    if (!fractionDigits.empty())
        plain += '.';
    plain += fractionDigits;
    plain += exponent;

    // from_chars rounds to the nearest float. result_out_of_range covers both
    // overflow and a nonzero value that would underflow to zero: neither is
    // what the user typed.
    float value = 0;
    const char* const last = plain.data() + plain.size();
    const auto [end, error] = std::from_chars(plain.data(), last, value);
    if (error != std::errc() || end != last || !std::isfinite(value))
        return {std::nullopt, NumberProblem::outOfRange};
    return {value};
}

std::string formatRatio(float value, std::string_view decimalSeparator)
{
    // Rounds the float's exact value to three decimals, ties to even.
    std::array<char, 64> buffer;
    auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, 3);
    if (error != std::errc())
        return {};
    // "#0.00#": the third decimal only when it is not zero.
    if (end[-1] == '0')
        --end;
    return withSeparator(std::string_view(buffer.data(), end), decimalSeparator);
}

double ratioThousandths(float value)
{
    // A float has 24 significant bits and 1000 needs 10, so the product is
    // exact in double, and rounding it to an integer rounds the exact value,
    // ties to even, as the text does.
    return std::nearbyint(double(value) * 1000);
}

float roundedRatio(float value)
{
    // The quotient is rounded twice, to double and to float; that differs
    // from rounding once only if the double lands exactly halfway between two
    // floats, and no three-decimal number comes that close to such a point
    // without being it. (Checked against the text for every positive float.)
    return static_cast<float>(ratioThousandths(value) / 1000);
}

std::string numberText(double value, int significantDigits, std::string_view decimalSeparator)
{
    if (value == 0) // negative zero is not a negative number
        return "0";
    // Rounds the exact value, so a float widened to double gives the float's text.
    std::array<char, 64> buffer;
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::general, significantDigits);
    if (error != std::errc())
        return {};
    return withSeparator(std::string_view(buffer.data(), end), decimalSeparator);
}

namespace {
// The longest separator written beside the digits in place.
constexpr std::size_t maxSeparator = 16;
} // namespace

GeneralText::GeneralText(float value, std::string_view decimalSeparator)
{
    // Most values shown are ratios, stored as a whole number of thousandths:
    // their text is written from that number, as the general conversion
    // writes it, at a tenth of its cost. (Checked for every thousandth below
    // 10^7 in magnitude.)
    if (std::isfinite(value) && value != 0 && std::fabs(value) < 1e4f &&
        decimalSeparator.size() <= maxSeparator) {
        const double thousandths = std::nearbyint(double(value) * 1000);
        if (static_cast<float>(thousandths / 1000) == value) {
            writeThousandths(static_cast<long>(thousandths), decimalSeparator);
            return;
        }
    }
    writeGeneral(value, decimalSeparator);
}

GeneralText::GeneralText(float ratio, double thousandths, std::string_view decimalSeparator)
{
    // Below 10^7 thousandths the ratio reads back as exactly these, so the
    // general text is theirs; 0 is "0" either way.
    if (std::fabs(thousandths) < 1e7 && decimalSeparator.size() <= maxSeparator)
        writeThousandths(static_cast<long>(thousandths), decimalSeparator);
    else
        writeGeneral(ratio, decimalSeparator);
}

void GeneralText::writeThousandths(long thousandths, std::string_view decimalSeparator)
{
    char* end = text_;
    if (thousandths < 0)
        *end++ = '-';
    const long magnitude = thousandths < 0 ? -thousandths : thousandths;
    end = std::to_chars(end, text_ + 24, magnitude / 1000).ptr;
    const int fraction = static_cast<int>(magnitude % 1000);
    if (fraction != 0) {
        for (const char c : decimalSeparator)
            *end++ = c;
        *end++ = char('0' + fraction / 100);
        if (fraction % 100 != 0) {
            *end++ = char('0' + fraction / 10 % 10);
            if (fraction % 10 != 0)
                *end++ = char('0' + fraction % 10);
        }
    }
    length_ = std::size_t(end - text_);
}

void GeneralText::writeGeneral(float value, std::string_view decimalSeparator)
{
    const std::string text = numberText(value, 7, decimalSeparator);
    length_ = std::min(text.size(), sizeof text_);
    text.copy(text_, length_);
}

std::string generalText(float value, std::string_view decimalSeparator)
{
    return std::string(GeneralText(value, decimalSeparator).view());
}

std::string shortestText(float value)
{
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    return std::string(text.data(), end);
}

} // namespace joist
