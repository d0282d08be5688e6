#include "engine/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

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

std::size_t countDigits(std::string_view text)
{
    std::size_t n = 0;
    while (n < text.size() && isDigit(text[n]))
        ++n;
    return n;
}

// Text written with '.' becomes the caller's separator.
std::string withSeparator(std::string_view plain, std::string_view separator)
{
    std::string text(plain);
    const std::size_t point = text.find('.');
    if (point == std::string::npos)
        return text;
    if (separator.size() == 1)
        text[point] = separator[0];
    else
        text.replace(point, 1, separator);
    return text;
}

bool startsWithSeparator(std::string_view text, std::string_view separator)
{
    if (separator.size() == 1)
        return !text.empty() && text.front() == separator.front();
    return text.starts_with(separator);
}

constexpr char digitPairs[] = "00010203040506070809101112131415161718192021222324252627282930313233"
                              "34353637383940414243444546474849505152535455565758596061626364656667"
                              "6869707172737475767778798081828384858687888990919293949596979899";

// Writes the decimal digits of n ending just before `end`, padded with zeros
// to at least minimumDigits; returns the first digit's position.
char* writeDigitsBackwards(char* end, std::uint64_t n, int minimumDigits = 1)
{
    char* const padded = end - minimumDigits;
    while (n >= 100) {
        const std::size_t pair = 2 * static_cast<std::size_t>(n % 100);
        n /= 100;
        *--end = digitPairs[pair + 1];
        *--end = digitPairs[pair];
    }
    if (n >= 10) {
        *--end = digitPairs[2 * n + 1];
        *--end = digitPairs[2 * n];
    } else {
        *--end = static_cast<char>('0' + n);
    }
    while (end > padded)
        *--end = '0';
    return end;
}

// Longer separators than this go the slow way.
constexpr std::size_t longestQuickSeparator = 8;

constexpr std::array<double, 11> powersOfTen{1e0, 1e1, 1e2, 1e3, 1e4, 1e5,
                                             1e6, 1e7, 1e8, 1e9, 1e10};

// The decimal exponent of the leading digit, for 1e-4 <= magnitude < 1e7. No
// float lies between an exact negative power of ten and its double, so the
// comparisons are exact.
int leadingDigitExponent(double magnitude)
{
    int exponent = 6;
    while (exponent > 0 && magnitude < powersOfTen[static_cast<std::size_t>(exponent)])
        --exponent;
    if (magnitude >= 1)
        return exponent;
    return magnitude >= 0.1 ? -1 : magnitude >= 0.01 ? -2 : magnitude >= 0.001 ? -3 : -4;
}

// The nearest float to a short decimal, the common case, without the general
// algorithm: up to 15 digits and 10 decimals make an exactly representable
// integer over an exact power of ten, so one division gives the correctly
// rounded double. Rounding that to float is then correct unless the double
// landed exactly halfway between two floats, where it gives up.
std::optional<float> shortDecimal(bool negative, std::string_view integerDigits,
                                  std::string_view fractionDigits)
{
    if (integerDigits.size() + fractionDigits.size() > 15 || fractionDigits.size() > 10)
        return std::nullopt;
    std::uint64_t digits = 0;
    for (const char c : integerDigits)
        digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
    for (const char c : fractionDigits)
        digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
    const double exact = double(digits) / powersOfTen[fractionDigits.size()];
    if (exact != 0 && (exact < double(std::numeric_limits<float>::min()) ||
                       exact > double(std::numeric_limits<float>::max())))
        return std::nullopt;
    const float rounded = static_cast<float>(exact);
    if (double(rounded) != exact) {
        const float beyond = std::nextafter(
            rounded, double(rounded) < exact ? std::numeric_limits<float>::infinity() : 0.0f);
        if ((double(rounded) + double(beyond)) / 2 == exact)
            return std::nullopt;
    }
    return negative ? -rounded : rounded;
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
    const std::string_view number = text;

    // Check the grammar, then hand the number to std::from_chars, which rounds
    // to the nearest float, in the one form it reads: no '+', a '.' separator.
    bool negative = false;
    bool plusSign = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        plusSign = !negative;
        text.remove_prefix(1);
    }
    const std::string_view integerDigits = text.substr(0, countDigits(text));
    text.remove_prefix(integerDigits.size());
    std::string_view fractionDigits;
    bool hasSeparator = false;
    if (startsWithSeparator(text, decimalSeparator)) {
        hasSeparator = true;
        text.remove_prefix(decimalSeparator.size());
        fractionDigits = text.substr(0, countDigits(text));
        text.remove_prefix(fractionDigits.size());
    }
    if (integerDigits.empty() && fractionDigits.empty())
        return notANumber;
    std::string_view exponent;
    if (!text.empty() && (text.front() == 'e' || text.front() == 'E')) {
        std::size_t length = 1;
        if (length < text.size() && (text[length] == '+' || text[length] == '-'))
            ++length;
        const std::size_t digits = countDigits(text.substr(length));
        if (digits == 0)
            return notANumber;
        exponent = text.substr(0, length + digits);
        text.remove_prefix(exponent.size());
    }
    if (!text.empty())
        return notANumber;

    if (exponent.empty()) {
        if (const std::optional<float> quick =
                shortDecimal(negative, integerDigits, fractionDigits))
            return {quick};
    }

    float value = 0;
    auto convert = [&value](const char* first, const char* last) {
        auto [end, error] = std::from_chars(first, last, value);
        // result_out_of_range covers both overflow and a nonzero value that
        // would underflow to zero: neither is what the user typed.
        return error == std::errc() && end == last && std::isfinite(value);
    };
    constexpr NumberReading outOfRange{std::nullopt, NumberProblem::outOfRange};
    if (!plusSign && decimalSeparator == ".") {
        if (!convert(number.data(), number.data() + number.size()))
            return outOfRange;
        return {value};
    }

    std::array<char, 128> shortBuffer;
    std::string longBuffer;
    const std::size_t length = 2 + integerDigits.size() + fractionDigits.size() + exponent.size();
    char* const first = length <= shortBuffer.size()
                            ? shortBuffer.data()
                            : (longBuffer.resize(length), longBuffer.data());
    char* out = first;
    auto append = [&out](std::string_view part) {
        if (part.empty())
            return; // data() may be null
        std::memcpy(out, part.data(), part.size());
        out += part.size();
    };
    if (negative)
        *out++ = '-';
    append(integerDigits);
    if (hasSeparator)
        *out++ = '.';
    append(fractionDigits);
    append(exponent);

    if (!convert(first, out))
        return outOfRange;
    return {value};
}

std::string formatRatio(float value, std::string_view decimalSeparator)
{
    std::array<char, 64> buffer;
    char* const last = buffer.data() + buffer.size();
    // |v| * 1000 is exact in double (24 + 10 bits), so rounding it to an
    // integer is the exact rounding to three decimals (ties to even).
    const double thousandths = std::nearbyint(std::fabs(double(value)) * 1000);
    if (thousandths < 1e18 && decimalSeparator.size() <= longestQuickSeparator) {
        const auto n = static_cast<std::uint64_t>(thousandths);
        const std::uint64_t decimals = n % 1000;
        // "#0.00#": the third decimal only when it is not zero.
        char* first = decimals % 10 == 0 ? writeDigitsBackwards(last, decimals / 10, 2)
                                         : writeDigitsBackwards(last, decimals, 3);
        for (auto c = decimalSeparator.rbegin(); c != decimalSeparator.rend(); ++c)
            *--first = *c;
        first = writeDigitsBackwards(first, n / 1000);
        if (std::signbit(value))
            *--first = '-';
        return std::string(first, last);
    }
    auto [end, error] = std::to_chars(buffer.data(), last, value, std::chars_format::fixed, 3);
    if (error != std::errc())
        return {};
    if (end[-1] == '0')
        --end;
    return withSeparator(
        std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.data())),
        decimalSeparator);
}

std::string generalText(float value, std::string_view decimalSeparator)
{
    if (value == 0) // negative zero is not a negative number
        return "0";
    std::array<char, 64> buffer;
    const double magnitude = std::fabs(double(value));
    // Fast exact path for 1e-4 <= |v| < 1e7, where the text has no exponent:
    // |v| * 10^k (k <= 10) is exact in double, since 24 bits of mantissa times
    // 5^k stay within 53 bits; rounding it to an integer rounds to seven digits.
    if (magnitude >= 1e-4 && magnitude < 1e7 && decimalSeparator.size() <= longestQuickSeparator) {
        const int exponent = leadingDigitExponent(magnitude);
        const double scaled =
            std::nearbyint(magnitude * powersOfTen[static_cast<std::size_t>(6 - exponent)]);
        if (scaled >= 1e6 && scaled < 1e7) {
            std::array<char, 8> digits;
            writeDigitsBackwards(digits.data() + 7, static_cast<std::uint64_t>(scaled), 7);
            int significant = 7;
            while (significant > 1 && digits[static_cast<std::size_t>(significant - 1)] == '0')
                --significant;
            std::array<char, 32> text;
            char* out = text.data();
            auto append = [&out](const char* from, int count) {
                while (count-- > 0)
                    *out++ = *from++;
            };
            if (value < 0)
                *out++ = '-';
            const int integerDigits = exponent >= 0 ? exponent + 1 : 0;
            if (exponent >= 0)
                append(digits.data(), integerDigits);
            else
                *out++ = '0';
            if (significant > integerDigits) {
                for (const char c : decimalSeparator)
                    *out++ = c;
                for (int zeros = -exponent - 1; zeros > 0; --zeros)
                    *out++ = '0';
                append(digits.data() + integerDigits, significant - integerDigits);
            }
            return std::string(text.data(), out);
        }
    }
    auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 7);
    if (error != std::errc())
        return {};
    return withSeparator(
        std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.data())),
        decimalSeparator);
}

} // namespace joist
