// The concentrated imposed load against cases worked by hand from the start
// example at L = 3 m: g0 + gk = 0.155934 kN/m, W = 371250 mm3, A = 9900 mm2,
// fm,d 9.84615, fv,d 1.10769, fc,90,d 1.35385 N/mm2.

#include <gtest/gtest.h>

#include "tests/engine_fixtures.h"

namespace joist {
namespace {

using testing::sixDigits;

struct WorkedCase
{
    const char* what;
    Rules rules;
    float share;
    const char* moment; // 1.35 g L^2/8 + Fd L/4, kNm
    const char* shear;  // 1.35 g L/2 + Fd, kN
    const char *sigmaM, *tau, *sigmaC;
    float ratioBearing;
};

const WorkedCase workedCases[] = {
    // Fd = 1.5 2 = 3: M = 0.236826 + 2.25, V = 0.315766 + 3; tau = 1.5 V / A;
    // sigma c = V / (50 44).
    {"whole Qk on one joist", Rules::original, 1, "2.48682", "3.31577", "6.69852", "0.502389",
     "1.50717", 1.113f},
    {"half of it", Rules::original, 0.5f, "1.36182", "1.81577", "3.66822", "0.275116", "0.825348",
     0.61f},
    // b ef = 0.67 44; l ef = 80, kc,90 = 1.5 (softwood, l1 = 2950 >= 450).
    {"amended rules", Rules::amended, 1, "2.48682", "3.31577", "6.69852", "0.749834", "0.941979",
     0.464f},
};

TEST(PointLoad, StressesOfWorkedCases)
{
    for (const WorkedCase& c : workedCases) {
        SCOPED_TRACE(c.what);
        JoistDesign d = testing::startExample();
        d.span = 3;
        d.material = Material::softwood;
        d.rhoK = 310;
        d.basis.rules = c.rules;
        d.basis.pointLoad = true;
        d.basis.pointShare = c.share;
        testing::RecordingSink sink;
        ASSERT_TRUE(runDesignCheck(d, false, sink, ".").completed());
        EXPECT_EQ(sixDigits(d.pointMoment), c.moment);
        EXPECT_EQ(sixDigits(d.pointShear), c.shear);
        EXPECT_EQ(sixDigits(d.pointBendingStress), c.sigmaM);
        EXPECT_EQ(sixDigits(d.pointShearStress), c.tau);
        EXPECT_EQ(sixDigits(d.pointBearingStress), c.sigmaC);
        EXPECT_EQ(d.ratioPointBearing, c.ratioBearing);
    }
}

// Its reaction on a 50 mm bearing governs, and the verdict says so.
TEST(PointLoad, AFailingPointCheckNamesItself)
{
    JoistDesign d = testing::startExample();
    d.basis.pointLoad = true;
    testing::RecordingSink sink;
    ASSERT_TRUE(runDesignCheck(d, false, sink, ".").completed());
    EXPECT_EQ(d.unityRatio, d.ratioPointBearing);
    EXPECT_EQ(sink.shown[ResultLabel::governedBy], "Joist fails in point-load bearing");
}

} // namespace
} // namespace joist
