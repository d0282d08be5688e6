#include <gtest/gtest.h>
#include <map>
#include <vector>

#include "engine/design_inputs.h"

namespace joist {
namespace {

// Control texts by input, each input's text its place in the read order
// plus one; remembers which were read.
class FakeControls : public InputSource
{
public:
    FakeControls()
    {
        for (std::size_t i = 0; i < inputDefinitions.size(); ++i)
            texts[inputDefinitions[i].input] = std::to_string(i + 1);
    }
    std::string text(Input input) const override
    {
        reads.push_back(input);
        auto it = texts.find(input);
        return it == texts.end() ? std::string() : it->second;
    }
    std::map<Input, std::string> texts;
    mutable std::vector<Input> reads;
};

TEST(ReadInputs, ReadsEveryInputInTheFixedOrderIntoItsOwnMember)
{
    FakeControls controls;
    JoistDesign d;
    ASSERT_TRUE(readInputs(d, controls, ".").ok());
    ASSERT_EQ(controls.reads.size(), inputDefinitions.size());
    for (std::size_t i = 0; i < inputDefinitions.size(); ++i) {
        EXPECT_EQ(controls.reads[i], inputDefinitions[i].input);
        EXPECT_EQ(d.*inputDefinitions[i].member, float(i + 1));
    }
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
    EXPECT_NE(d.fc90k, 0.0f); // read before fv,k
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

} // namespace
} // namespace joist
