// The one rule a value of the design basis is read by, where the window,
// files and settings would each read it differently.
#include <cmath>
#include <gtest/gtest.h>

#include "engine/basis_value.h"

namespace joist {
namespace {

TEST(BasisValue, EachKindIsReadByItsRule)
{
    using enum BasisValueProblem;
    const struct
    {
        const char* key;
        const char* text;
        BasisValueProblem problem;
    } cases[] = {
        {"u2Div", "0", notPositive},          {"u2Div", "", empty},
        {"u2Div", "0.5", outOfRange},         {"u2Cap", "", none}, // no cap
        {"u2Cap", "0", notPositive},          {"partitions", "-0.5", outOfRange},
        {"partitions", "-0", none},           {"kamp", "-1", notPositive},
        {"kamp", "1,5", notANumber},          {"kamp", "1e39", beyondPrecision},
        {"strutting", "yes", notTrueOrFalse}, {"table", "en338-2016", none},
        {"table", "EN338", notOffered},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readBasisValue(basisField(c.key), c.text, ".").problem, c.problem)
            << c.key << " " << c.text;

    DesignBasis basis;
    setBasisValue(basis, basisField("partitions"),
                  readBasisValue(basisField("partitions"), "-0", "."));
    EXPECT_FALSE(std::signbit(basis.partitions)); // never -0
    setBasisValue(basis, basisField("table"), readBasisValue(basisField("table"), "en14080", "."));
    EXPECT_EQ(basis.table, TableChoice::en14080);
}

} // namespace
} // namespace joist
