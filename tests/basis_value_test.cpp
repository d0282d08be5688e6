// The one rule a value of the design basis is read by; the window's, the
// design file's and the settings' own tests show its refusals in their words.
#include <cmath>
#include <gtest/gtest.h>

#include "engine/basis_value.h"

namespace joist {
namespace {

// "-0" is 0 where 0 is allowed, never -0, which would be written "-0"; and
// refused where a value must be positive.
TEST(BasisValue, MinusZeroIsZeroWhereZeroIsAllowed)
{
    const BasisField& partitions = basisField("partitions");
    const BasisValue zero = readBasisValue(partitions, "-0", ".");
    ASSERT_TRUE(zero.accepted());
    DesignBasis basis;
    basis.partitions = 1;
    setBasisValue(basis, partitions, zero);
    EXPECT_EQ(basis.partitions, 0);
    EXPECT_FALSE(std::signbit(basis.partitions));
    EXPECT_EQ(readBasisValue(basisField("u2Div"), "-0", ".").problem,
              BasisValueProblem::notPositive);
}

} // namespace
} // namespace joist
