// The design file as the program reads and writes it.
#include <gtest/gtest.h>
#include <utility>

#include "document/design_file.h"
#include "tests/checked_file_fixtures.h"
#include "tests/design_file_fixtures.h"

namespace {

using testing_support::designJson;

// The vibration rules, a and b go through a file unchanged; a file that
// gives no damping ratio takes its rule set's.
TEST(DesignFile, VibrationRulesAndTheirDampingDefault)
{
    joist::DesignBasis en;
    en.vibrationRules = joist::VibrationRules::en;
    en.vibrationA = 2;
    en.vibrationB = 80;
    const QByteArray bytes = document::designFileBytes(document::startInputs(), en);
    EXPECT_EQ(document::parseDesignFile("en.joist", bytes).basis, en);
    for (const auto& [basis, damping] :
         {std::pair<QByteArray, float>{"", 0.02f},
          {"\"vibrationRules\": \"en\"", 0.01f},
          {"\"vibrationRules\": \"en\", \"damping\": \"0.02\"", 0.02f}})
        EXPECT_EQ(document::parseDesignFile("f.joist", designJson({}, "1", basis)).basis.damping,
                  damping)
            << basis.toStdString();
}

TEST(DesignFile, AFailedWriteLeavesNoFileKeepsTheOldOneAndSaysWhy)
{
    const testing_support::Writer writers[] = {
        [](const QString& path) { document::writeDesignFile(path, document::startInputs(), {}); }};
    testing_support::expectHostileTargetsRefused(writers);
}

} // namespace
