// How the design basis reads where people read it.
#include <gtest/gtest.h>
#include <string>

#include "report/design_basis_texts.h"

namespace {

// What the sheet says is not checked follows the basis: a kind of check it
// may put in force is named there only while it is not.
TEST(DesignBasisTexts, NotCheckedNamesOnlyWhatTheBasisLeavesOut)
{
    for (const joist::CheckDefinition& check : joist::checkDefinitions) {
        bool joist::DesignBasis::*flag = joist::flagOfKind(check.kind);
        if (!flag)
            continue;
        const std::string_view name = report::optionalCheckName(check.kind);
        for (const bool checked : {false, true}) {
            joist::DesignBasis basis;
            basis.*flag = checked;
            EXPECT_EQ(report::notCheckedLine(basis).find(name) != std::string::npos, !checked)
                << name;
        }
    }
}

} // namespace
