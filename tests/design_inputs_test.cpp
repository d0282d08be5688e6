#include <gtest/gtest.h>
#include <map>
#include <vector>

#include "engine/design_inputs.h"

namespace joist {
namespace {

// Control texts by input; remembers which were read.
class FakeControls : public InputSource
{
public:
    std::string text(Input input) const override
    {
        reads.push_back(input);
        auto it = texts.find(input);
        return it == texts.end() ? std::string() : it->second;
    }
    std::map<Input, std::string> texts{
        {Input::fmk, "16"},
        {Input::fc90k, "2.2"},
        {Input::fvk, "1.8"},
        {Input::e0mean, "8"},
        {Input::rhoMean, "370"},
        {Input::spacing, "300"},
        {Input::depth, "225"},
        {Input::breadth, "44"},
        {Input::span, "4"},
        {Input::kmod, "0.8"},
        {Input::kcrit, "1"},
        {Input::kls, "1"},
        {Input::kh, "1"},
        {Input::gammaM, "1.3"},
        {Input::kmodGk, "0.8"},
        {Input::kmodQk, "0.25"},
        {Input::deadLoad, "0.4"},
        {Input::liveLoad, "1.5"},
        {Input::bearingLength, "50"},
        {Input::camber, "0"},
    };
    mutable std::vector<Input> reads;
};

TEST(ReadInputs, ReadsAllTwentyInTheFixedOrder)
{
    FakeControls controls;
    JoistDesign d;
    ASSERT_TRUE(readInputs(d, controls, ".").ok());

    const std::vector<Input> order{
        Input::fmk,     Input::fc90k,    Input::fvk,      Input::e0mean,        Input::rhoMean,
        Input::spacing, Input::depth,    Input::breadth,  Input::span,          Input::kmod,
        Input::kcrit,   Input::kls,      Input::kh,       Input::gammaM,        Input::kmodGk,
        Input::kmodQk,  Input::deadLoad, Input::liveLoad, Input::bearingLength, Input::camber};
    EXPECT_EQ(controls.reads, order);
    EXPECT_EQ(d.fmk, 16.0f);
    EXPECT_EQ(d.fc90k, 2.2f);
    EXPECT_EQ(d.rhoMean, 370.0f);
    EXPECT_EQ(d.breadth, 44.0f);
    EXPECT_EQ(d.depth, 225.0f);
    EXPECT_EQ(d.spacing, 300.0f);
    EXPECT_EQ(d.span, 4.0f);
    EXPECT_EQ(d.kmod, 0.8f);
    EXPECT_EQ(d.gammaM, 1.3f);
    EXPECT_EQ(d.kmodQk, 0.25f);
    EXPECT_EQ(d.deadLoad, 0.4f);
    EXPECT_EQ(d.bearingLength, 50.0f);
    EXPECT_EQ(d.camber, 0.0f);
}

TEST(ReadInputs, StopsAtTheFirstTextThatIsNotANumber)
{
    FakeControls controls;
    controls.texts[Input::span] = "4,5"; // the wrong separator
    controls.texts[Input::depth] = "150";
    controls.texts[Input::bearingLength] = "75";
    JoistDesign d;
    d.bearingLength = 1;
    d.span = 2;

    const ReadResult result = readInputs(d, controls, ".");
    EXPECT_EQ(result.failedInput, Input::span);
    EXPECT_EQ(result.failedText, "4,5");
    EXPECT_EQ(d.depth, 150.0f);       // before the failure: stored
    EXPECT_EQ(d.span, 2.0f);          // the failing one: kept
    EXPECT_EQ(d.bearingLength, 1.0f); // after it: untouched
    EXPECT_EQ(controls.reads.back(), Input::span);
}

TEST(ReadInputs, AnEmptyMaterialLabelFailsLikeAnyOtherText)
{
    FakeControls controls;
    controls.texts[Input::fvk] = "";
    JoistDesign d;
    EXPECT_EQ(readInputs(d, controls, ".").failedInput, Input::fvk);
    EXPECT_EQ(d.fc90k, 2.2f);
    EXPECT_EQ(d.e0mean, 0.0f);
}

TEST(StoreInput, ReadsOnlyItsOwnControlAndStoresOneMember)
{
    FakeControls controls;
    JoistDesign d;
    ASSERT_TRUE(readInputs(d, controls, ".").ok());
    const JoistDesign before = d;
    controls.reads.clear();
    controls.texts[Input::span] = "5";
    controls.texts[Input::deadLoad] = "9"; // changed on screen but not this store's business

    ASSERT_TRUE(storeInput(d, controls, Input::span, ".").ok());
    EXPECT_EQ(controls.reads, std::vector<Input>{Input::span});
    JoistDesign expected = before;
    expected.span = 5;
    EXPECT_EQ(d, expected);
}

TEST(StoreInput, KeepsThePreviousValueForTextsBeingTyped)
{
    FakeControls controls;
    JoistDesign d;
    d.liveLoad = 1.5f;
    for (const char* typing : {"", "-", ".", "1.5.", "x"}) {
        controls.texts[Input::liveLoad] = typing;
        const ReadResult result = storeInput(d, controls, Input::liveLoad, ".");
        EXPECT_EQ(result.failedInput, Input::liveLoad);
        EXPECT_EQ(d.liveLoad, 1.5f);
    }
    controls.texts[Input::liveLoad] = "-2";
    EXPECT_TRUE(storeInput(d, controls, Input::liveLoad, ".").ok());
    EXPECT_EQ(d.liveLoad, -2.0f); // negative values are stored without complaint
}

TEST(InputDefinitions, MatchTheirEnumerators)
{
    for (std::size_t i = 0; i < inputDefinitions.size(); ++i)
        EXPECT_EQ(static_cast<std::size_t>(inputDefinitions[i].input), i);
}

} // namespace
} // namespace joist
