#include <gtest/gtest.h>

#include "engine/design_check.h"
#include "tests/engine_fixtures.h"

namespace joist {
namespace {

using testing::RecordingSink;
using testing::startExample;

TEST(Verdict, StartExampleRatiosLabelsAndVerdict)
{
    JoistDesign d = startExample();
    RecordingSink sink;
    ASSERT_TRUE(runDesignCheck(d, false, sink, ".").completed());

    EXPECT_EQ(d.ratioU2, 0.337f);
    EXPECT_EQ(d.ratioU2Fin, 0.281f);
    EXPECT_EQ(d.ratioUNetFin, 0.421f);
    EXPECT_EQ(d.ratioBending, 0.484f);
    EXPECT_EQ(d.ratioShear, 0.242f);
    EXPECT_EQ(d.ratioBearing, 0.595f);
    EXPECT_EQ(d.unityRatio, d.ratioBearing);

    // Each label in force is written once, in output order, the verdict last.
    std::vector<ResultLabel> written, inForceOrder;
    for (const auto& write : sink.writes)
        written.push_back(write.first);
    for (ResultLabel label : outputOrder)
        if (labelInForce(label, d.basis))
            inForceOrder.push_back(label);
    EXPECT_EQ(written, inForceOrder);
    EXPECT_EQ(sink.shown[ResultLabel::bearing], "0.595");
    EXPECT_EQ(sink.shown[ResultLabel::unityRatio], "0.595");
    EXPECT_EQ(sink.shown[ResultLabel::governedBy], "Joist Passes");
    EXPECT_EQ(d.governingMessage, ""); // a pass leaves it as it was
}

TEST(Verdict, SixMetreSpanFailsInNetFinalDeflection)
{
    JoistDesign d = startExample();
    d.span = 6;
    RecordingSink sink;
    ASSERT_TRUE(runDesignCheck(d, false, sink, ".").completed());

    EXPECT_EQ(d.ratioU2, 1.136f);
    EXPECT_EQ(d.ratioU2Fin, 0.947f);
    EXPECT_EQ(d.ratioUNetFin, 1.419f);
    EXPECT_EQ(d.ratioBending, 1.09f);
    EXPECT_EQ(d.ratioShear, 0.363f);
    EXPECT_EQ(d.ratioBearing, 0.892f);
    EXPECT_EQ(sink.shown[ResultLabel::bending], "1.09");
    EXPECT_EQ(sink.shown[ResultLabel::unityRatio], "1.419");
    EXPECT_EQ(sink.shown[ResultLabel::governedBy], "Joist fails in deflection: u net,fin");
    EXPECT_EQ(d.governingMessage, "Joist fails in deflection: u net,fin");
}

TEST(Verdict, DecimalCommaGivesTheSameRatiosWrittenWithAComma)
{
    JoistDesign point = startExample();
    JoistDesign comma = startExample();
    point.span = comma.span = 6;
    RecordingSink pointSink, commaSink;
    ASSERT_TRUE(runDesignCheck(point, false, pointSink, ".").completed());
    ASSERT_TRUE(runDesignCheck(comma, false, commaSink, ",").completed());
    EXPECT_EQ(point, comma);
    EXPECT_EQ(commaSink.shown[ResultLabel::unityRatio], "1,419");
    EXPECT_EQ(commaSink.shown[ResultLabel::bending], "1,09");
}

// Sets the camber so that the net final deflection ratio is about `quotient`.
float camberForNetRatio(const JoistDesign& checked, double quotient)
{
    return static_cast<float>(double(checked.uFinQ) + double(checked.uFinG) -
                              quotient * double(checked.limitUNetFin));
}

TEST(Verdict, ThePassThresholdAppliesToTheRoundedRatio)
{
    JoistDesign d = startExample();
    RecordingSink sink;
    ASSERT_TRUE(runDesignCheck(d, false, sink, ".").completed());

    d.camber = camberForNetRatio(d, 1.0004);
    ASSERT_TRUE(runDesignCheck(d, false, sink, ".").completed());
    EXPECT_EQ(d.ratioUNetFin, 1.0f);
    EXPECT_EQ(sink.shown[ResultLabel::uNetFin], "1");
    EXPECT_EQ(sink.shown[ResultLabel::unityRatio], "1");
    EXPECT_EQ(sink.shown[ResultLabel::governedBy], "Joist Passes");

    d.camber = camberForNetRatio(d, 1.0006);
    ASSERT_TRUE(runDesignCheck(d, false, sink, ".").completed());
    EXPECT_EQ(d.ratioUNetFin, 1.001f);
    EXPECT_EQ(sink.shown[ResultLabel::unityRatio], "1.001");
    EXPECT_EQ(sink.shown[ResultLabel::governedBy], "Joist fails in deflection: u net,fin");
}

TEST(Verdict, TiesGoToTheEarliestCheck)
{
    JoistDesign d;
    d.ratioBending = 1.2f;
    d.ratioU2Fin = 1.2f;
    d.ratioBearing = 1.2f;
    d.ratioU2 = 0.5f;
    findGoverningCheck(d);
    EXPECT_EQ(d.unityRatio, 1.2f);
    selectFailureMessage(d);
    EXPECT_EQ(d.governingMessage, "Joist fails in deflection: u 2,fin");
}

TEST(Verdict, NoPositiveRatioGivesZero)
{
    JoistDesign d;
    d.ratioBending = -3;
    d.ratioShear = 0;
    d.unityRatio = 9;
    findGoverningCheck(d);
    EXPECT_EQ(d.unityRatio, 0.0f);
}

TEST(Verdict, ZeroLoadsAndDensityShowZeroAndPass)
{
    JoistDesign d = startExample();
    d.deadLoad = 0;
    d.liveLoad = 0;
    d.rhoMean = 0;
    RecordingSink sink;
    ASSERT_TRUE(runDesignCheck(d, false, sink, ".").completed());
    for (const auto& [label, text] : sink.shown) {
        if (label != ResultLabel::governedBy) {
            EXPECT_EQ(text, "0") << static_cast<int>(label);
        }
    }
    EXPECT_EQ(sink.shown[ResultLabel::governedBy], "Joist Passes");
}

TEST(Verdict, EachFailureNamesItsOwnCheckNotAnEarlierOne)
{
    JoistDesign d = startExample();
    RecordingSink sink;

    d.span = 6;
    ASSERT_TRUE(runDesignCheck(d, false, sink, ".").completed());
    EXPECT_EQ(sink.shown[ResultLabel::governedBy], "Joist fails in deflection: u net,fin");

    d.span = 4;
    ASSERT_TRUE(runDesignCheck(d, false, sink, ".").completed());
    EXPECT_EQ(sink.shown[ResultLabel::governedBy], "Joist Passes");
    EXPECT_EQ(d.governingMessage, "Joist fails in deflection: u net,fin"); // kept, not shown

    d.bearingLength = 10;
    ASSERT_TRUE(runDesignCheck(d, false, sink, ".").completed());
    EXPECT_EQ(sink.shown[ResultLabel::governedBy], "Joist fails in bearing");
    EXPECT_EQ(sink.shown[ResultLabel::unityRatio], sink.shown[ResultLabel::bearing]);
}

} // namespace
} // namespace joist
