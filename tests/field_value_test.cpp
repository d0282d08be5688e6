#include <gtest/gtest.h>
#include <limits>

#include "materials/field_value.h"

namespace materials {
namespace {

std::optional<std::string> text(FieldValue v, std::string_view separator = ".")
{
    return fieldText(v, separator);
}

TEST(FieldText, RealsKeepFifteenSignificantDigitsWithoutTrailingZeros)
{
    EXPECT_EQ(text({16.0}), "16");
    EXPECT_EQ(text({2.2}), "2.2");
    EXPECT_EQ(text({0.27}), "0.27");
    EXPECT_EQ(text({1080.0}), "1080");
    EXPECT_EQ(text({-1.5}), "-1.5");
    // More than a float holds reaches the text in full.
    EXPECT_EQ(text({16.123456789012}), "16.123456789012");
    // Fifteen digits, so binary noise of the sum does not show.
    EXPECT_EQ(text({0.1 + 0.2}), "0.3");
    EXPECT_EQ(text({123456789012345.0}), "123456789012345");
    EXPECT_EQ(text({1234567890123456.0}), "1.23456789012346e+15");
    EXPECT_EQ(text({0.0001}), "0.0001");
    EXPECT_EQ(text({0.00001}), "1e-05");
    EXPECT_EQ(text({-0.0}), "0");
}

TEST(FieldText, UsesTheCallersDecimalSeparator)
{
    EXPECT_EQ(text({16.123456789012}, ","), "16,123456789012");
    EXPECT_EQ(text({2.5}, "\u066B"), "2\u066B5");
    EXPECT_EQ(text({16.0}, ","), "16");
    EXPECT_EQ(text({1.5e-7}, ","), "1,5e-07");
}

TEST(FieldText, IntegersAndTextsAsTheyAreAndNullHasNoText)
{
    EXPECT_EQ(text({std::int64_t{370}}), "370");
    EXPECT_EQ(text({std::numeric_limits<std::int64_t>::min()}), "-9223372036854775808");
    // No grouping, and no separator change inside an integer.
    EXPECT_EQ(text({std::int64_t{1234567}}, ","), "1234567");
    EXPECT_EQ(text({std::string("C16")}), "C16");
    EXPECT_EQ(text({std::string("2.2")}, ","), "2.2"); // a text is never reformatted
    EXPECT_EQ(text({std::string()}), "");
    EXPECT_EQ(text({}), std::nullopt);
    EXPECT_TRUE(FieldValue{}.isNull());
    EXPECT_FALSE(FieldValue{std::string()}.isNull());
}

} // namespace
} // namespace materials
