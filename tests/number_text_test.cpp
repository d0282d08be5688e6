#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/number_text.h"

namespace joist {
namespace {

TEST(ParseNumber, ReadsPlainSignedDecimalsToTheNearestFloat)
{
    EXPECT_EQ(parseNumber("4", "."), 4.0f);
    EXPECT_EQ(parseNumber("0.4", "."), 0.4f); // 0.4000000059604645
    EXPECT_EQ(parseNumber("-1.5", "."), -1.5f);
    EXPECT_EQ(parseNumber("+2", "."), 2.0f);
    EXPECT_EQ(parseNumber("4.", "."), 4.0f); // half-typed "4.5"
    EXPECT_EQ(parseNumber(".5", "."), 0.5f);
    EXPECT_EQ(parseNumber(" 50 ", "."), 50.0f);
    EXPECT_EQ(parseNumber("1.5e3", "."), 1500.0f);
    EXPECT_EQ(parseNumber("25E-1", "."), 2.5f);
    EXPECT_EQ(parseNumber("0.1", "."), 0.1f);
    // Nearest, not truncated: 16777217 lies between two floats and ties to even.
    EXPECT_EQ(parseNumber("16777217", "."), 16777216.0f);
    EXPECT_EQ(parseNumber("16777219", "."), 16777220.0f);
    EXPECT_TRUE(std::signbit(*parseNumber("-0", ".")));
}

TEST(ParseNumber, ShortDecimalsReadAsTheFullConversionReadsThem)
{
    // Up to seven digits are read by one float division; the rest by from_chars.
    std::mt19937 random(3);
    for (int i = 0; i < 200000; ++i) {
        const std::string digits = std::to_string(random() % 100000000);
        const std::size_t point = random() % (digits.size() + 1);
        const std::string text = digits.substr(0, point) + "." + digits.substr(point);
        float expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_EQ(std::bit_cast<std::uint32_t>(parseNumber("-" + text, ".").value()),
                  std::bit_cast<std::uint32_t>(-expected))
            << text;
    }
}

TEST(ParseNumber, UsesTheCallersSeparatorOnly)
{
    EXPECT_EQ(parseNumber("0,8", ","), 0.8f);
    EXPECT_EQ(parseNumber("-12,25", ","), -12.25f);
    // The wrong separator is refused, never read as another number.
    EXPECT_EQ(parseNumber("0.8", ","), std::nullopt);
    EXPECT_EQ(parseNumber("0,8", "."), std::nullopt);
    EXPECT_EQ(parseNumber("1,000.5", "."), std::nullopt);
    EXPECT_EQ(parseNumber("1.000,5", ","), std::nullopt);
    // A separator of more than one byte (U+066B ARABIC DECIMAL SEPARATOR).
    EXPECT_EQ(parseNumber("2\u066B5", "\u066B"), 2.5f);
    EXPECT_EQ(parseNumber("2", ""), std::nullopt);
}

TEST(ParseNumber, RejectsTextThatIsNotANumber)
{
    for (const char* text :
         {"",   " ",   "-",  "+",   ".",   "-.",   "..",  "1..2", "1.2.3", "abc",    "4a", "a4",
          "1e", "1e+", "e5", "--1", "+-1", "0x10", "inf", "nan",  "1 000", "\u0664", "4\n"}) {
        EXPECT_EQ(parseNumber(text, "."), std::nullopt) << '"' << text << '"';
    }
}

TEST(ParseNumber, RejectsValuesBeyondSinglePrecision)
{
    EXPECT_EQ(parseNumber("3.4028235e38", "."), std::numeric_limits<float>::max());
    EXPECT_EQ(parseNumber("3.5e38", "."), std::nullopt);
    EXPECT_EQ(parseNumber("-1e39", "."), std::nullopt);
    EXPECT_EQ(parseNumber("1e99999999999999999999", "."), std::nullopt);
    // Too small to be anything but 0: refused rather than silently zeroed.
    EXPECT_EQ(parseNumber("1e-50", "."), std::nullopt);
    // The smallest subnormal still reads.
    EXPECT_EQ(parseNumber("1.4e-45", "."), std::numeric_limits<float>::denorm_min());
    EXPECT_EQ(parseNumber("0e99999", "."), 0.0f);
    // Long texts are read exactly, not cut short.
    EXPECT_EQ(parseNumber("0.30000000000000000000000000000000000001", "."), 0.3f);
}

TEST(FormatRatio, RoundsToThreeDecimalsAndDropsAZeroThird)
{
    EXPECT_EQ(formatRatio(0.3366999924182892f, "."), "0.337");
    EXPECT_EQ(formatRatio(0.7f, "."), "0.70");
    EXPECT_EQ(formatRatio(0.0f, "."), "0.00");
    EXPECT_EQ(formatRatio(1.0004f, "."), "1.00");
    EXPECT_EQ(formatRatio(1.0006f, "."), "1.001");
    EXPECT_EQ(formatRatio(2.0f, ","), "2,00");
    EXPECT_EQ(formatRatio(-1.23456f, ","), "-1,235");
    EXPECT_EQ(formatRatio(123456.5f, "."), "123456.50");
    // Exact ties at the third decimal go to the even digit.
    EXPECT_EQ(formatRatio(0.0625f, "."), "0.062");
    EXPECT_EQ(formatRatio(0.1875f, "."), "0.188");
}

TEST(FormatRatio, EveryRoundedTextReadsBackToThreeDecimals)
{
    for (float q : {0.3367f, 0.28058f, 1.4185f, 999.9996f, 1e20f, 3e38f, 1e-30f, -0.0004f}) {
        const std::string text = formatRatio(q, ",");
        const auto back = parseNumber(text, ",");
        ASSERT_TRUE(back) << text;
        EXPECT_EQ(formatRatio(*back, ","), text);
    }
}

TEST(RoundedRatio, IsTheRatioTextReadBack)
{
    // Ties at the third decimal, huge and tiny values, then a sweep.
    std::vector<float> values{0.0625f, 0.1875f, -0.0625f, 1.0005f, 4194304.5f,
                              3e38f,   1e-40f,  -0.0004f, 0.0f,    -0.0f};
    for (std::uint32_t bits = 0x3A000000; bits < 0x4F000000; bits += 0x1F3B)
        values.push_back(std::bit_cast<float>(bits));
    for (float q = 0; q < 70; q += 0.0005f)
        values.push_back(q);
    for (const float value : values) {
        const float fromText = parseNumber(formatRatio(value, "."), ".").value();
        EXPECT_EQ(std::bit_cast<std::uint32_t>(roundedRatio(value)),
                  std::bit_cast<std::uint32_t>(fromText))
            << value;
    }
}

TEST(GeneralText, SevenSignificantDigitsWithoutTrailingZeros)
{
    EXPECT_EQ(generalText(0.484f, "."), "0.484");
    EXPECT_EQ(generalText(0.7f, "."), "0.7");
    EXPECT_EQ(generalText(1.0f, "."), "1");
    EXPECT_EQ(generalText(2.0f, ","), "2");
    EXPECT_EQ(generalText(1.419f, ","), "1,419");
    EXPECT_EQ(generalText(0.0f, "."), "0");
    EXPECT_EQ(generalText(-0.0f, "."), "0");
    EXPECT_EQ(generalText(-0.25f, "."), "-0.25");
    EXPECT_EQ(generalText(1234567.0f, "."), "1234567");
    EXPECT_EQ(generalText(123456.78f, "."), "123456.8");
    EXPECT_EQ(generalText(41765624.0f, "."), "4.176562e+07");
}

TEST(GeneralText, ThousandthsAreWrittenAsTheSevenDigitConversionWritesThem)
{
    for (long n = -100000; n <= 100000; ++n) {
        const float value = static_cast<float>(double(n) / 1000);
        ASSERT_EQ(generalText(value, ","), numberText(value, 7, ",")) << n;
    }
}

TEST(GeneralText, ARatioWrittenFromItsThousandthsReadsAsItsGeneralText)
{
    std::vector<float> quotients{1e4f, 9999.9995f, 16777.216f, 3e38f, -5e6f, -0.0004f, 0.0f};
    for (float q = -20; q < 20; q += 0.00037f)
        quotients.push_back(q);
    for (const float q : quotients) {
        const GeneralText text(roundedRatio(q), ratioThousandths(q), ",");
        ASSERT_EQ(text.view(), generalText(roundedRatio(q), ",")) << q;
    }
}

} // namespace
} // namespace joist
