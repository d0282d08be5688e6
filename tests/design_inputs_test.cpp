#include <gtest/gtest.h>
#include <map>
#include <vector>

#include "engine/design_inputs.h"

namespace joist {
namespace {

// Control texts by name; remembers which controls were read.
class FakeControls : public InputSource
{
public:
    std::string text(std::string_view control) const override
    {
        reads.emplace_back(control);
        auto it = texts.find(std::string(control));
        return it == texts.end() ? std::string() : it->second;
    }
    std::map<std::string, std::string> texts{
        {"fmkLbl", "16"},    {"fc90kLbl", "2.2"},   {"fvkLbl", "1.8"},    {"EmeanLbl", "8"},
        {"RmeanLbl", "370"}, {"cmbSpacing", "300"}, {"cmbDepth", "225"},  {"cmbBreadth", "44"},
        {"spanTxt", "4"},    {"cmbKmod", "0.8"},    {"cmbKcrit", "1"},    {"cmbKls", "1"},
        {"cmbKh", "1"},      {"cmbGm", "1.3"},      {"cmbKmodGk", "0.8"}, {"cmbKmodQk", "0.25"},
        {"deadTxt", "0.4"},  {"liveTxt", "1.5"},    {"bearLTxt", "50"},   {"u0Txt", "0"},
    };
    mutable std::vector<std::string> reads;
};

TEST(ReadInputs, ReadsAllTwentyInTheFixedOrder)
{
    FakeControls controls;
    JoistDesign d;
    ASSERT_TRUE(readInputs(d, controls, ".").ok());

    const std::vector<std::string> order{
        "fmkLbl",     "fc90kLbl",  "fvkLbl",  "EmeanLbl", "RmeanLbl", "cmbSpacing", "cmbDepth",
        "cmbBreadth", "spanTxt",   "cmbKmod", "cmbKcrit", "cmbKls",   "cmbKh",      "cmbGm",
        "cmbKmodGk",  "cmbKmodQk", "deadTxt", "liveTxt",  "bearLTxt", "u0Txt"};
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
    controls.texts["spanTxt"] = "4,5"; // the wrong separator
    controls.texts["cmbDepth"] = "150";
    controls.texts["bearLTxt"] = "75";
    JoistDesign d;
    d.bearingLength = 1;
    d.span = 2;

    const ReadResult result = readInputs(d, controls, ".");
    EXPECT_EQ(result.failedInput, Input::span);
    EXPECT_EQ(result.failedText, "4,5");
    EXPECT_EQ(d.depth, 150.0f);       // before the failure: stored
    EXPECT_EQ(d.span, 2.0f);          // the failing one: kept
    EXPECT_EQ(d.bearingLength, 1.0f); // after it: untouched
    EXPECT_EQ(controls.reads.back(), "spanTxt");
}

TEST(ReadInputs, AnEmptyMaterialLabelFailsLikeAnyOtherText)
{
    FakeControls controls;
    controls.texts["fvkLbl"] = "";
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
    controls.texts["spanTxt"] = "5";
    controls.texts["deadTxt"] = "9"; // changed on screen but not this store's business

    ASSERT_TRUE(storeInput(d, controls, Input::span, ".").ok());
    EXPECT_EQ(controls.reads, std::vector<std::string>{"spanTxt"});
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
        controls.texts["liveTxt"] = typing;
        const ReadResult result = storeInput(d, controls, Input::liveLoad, ".");
        EXPECT_EQ(result.failedInput, Input::liveLoad);
        EXPECT_EQ(d.liveLoad, 1.5f);
    }
    controls.texts["liveTxt"] = "-2";
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
