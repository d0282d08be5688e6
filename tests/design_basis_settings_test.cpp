// The user's defaults for the design basis, as the settings keep them.
#include <gtest/gtest.h>
#include <memory>

#include "document/design_basis_settings.h"
#include "document/settings_file.h"

namespace {

// Settings keep the basis under the design file's keys; an earlier
// version's keys are read, and give way to them at the next write.
TEST(DesignBasisSettings, EarlierKeysAreReadAndReplacedByTheFilesKeys)
{
    const std::unique_ptr<document::SettingsFile> settings = document::programSettings();
    settings->setValue("designBasis/u2Divisor", "360");
    const joist::DesignBasis basis = document::readDesignBasis(*settings);
    EXPECT_EQ(basis.u2Divisor, 360);
    document::writeDesignBasis(*settings, basis);
    EXPECT_FALSE(settings->contains("designBasis/u2Divisor"));
    EXPECT_EQ(settings->value("designBasis/u2Div").toString(), "360");
    settings->remove("designBasis");
}

// zeta is stored only where it is not its rule set's default, and read back
// as it was either way.
TEST(DesignBasisSettings, DampingIsKeptAgainstItsRuleSetsDefault)
{
    const std::unique_ptr<document::SettingsFile> settings = document::programSettings();
    joist::DesignBasis basis;
    basis.vibrationRules = joist::VibrationRules::en;
    for (const float damping : {0.01f, 0.02f}) {
        basis.damping = damping;
        document::writeDesignBasis(*settings, basis);
        EXPECT_EQ(document::readDesignBasis(*settings), basis);
    }
    settings->remove("designBasis");
}

} // namespace
