#include <gtest/gtest.h>
#include <random>

#include "engine/design_aid_memo.h"
#include "tests/engine_fixtures.h"

namespace joist {
namespace {

// Schedules whose rows share all but the span and section, as the memo's
// designs do: each row's answers are the searches' for that row alone, with
// and without vibration, with a negative camber, at spans between whole
// millimetres and with a section not listed.
TEST(DesignAidMemo, AnswersAsTheSearchesDoForEachDesignAlone)
{
    const float breadths[] = {38, 47, 63};
    const float depths[] = {97, 147, 170, 195, 220, 245};
    const std::vector<Section> sections = sectionsByArea(breadths, depths);
    std::mt19937 random(22);
    std::uniform_real_distribution<float> unit(0, 1);
    for (int group = 0; group < 48; ++group) {
        JoistDesign shared = testing::startExample();
        shared.deadLoad = 0.2f + 1.5f * unit(random);
        shared.liveLoad = 1 + 4 * unit(random);
        shared.spacing = 300 + 300 * unit(random);
        shared.camber = group % 4 == 1 ? -30 * unit(random) : 0;
        shared.basis.vibration = group % 3 == 0;
        DesignAidMemo memo(sections);
        for (int row = 0; row < 40; ++row) {
            SCOPED_TRACE(::testing::Message() << "group " << group << ", row " << row);
            JoistDesign d = shared;
            const int millimetres = 500 + int(random() % 9000);
            d.span = spanOfMillimetres(millimetres) + (row % 9 == 4 ? 1e-4f : 0);
            const Section section = row % 13 == 6 ? Section{50, 180} : sections[random() % 18];
            d.breadth = section.breadth;
            d.depth = section.depth;
            const DesignAids aids = memo.aids(d);
            EXPECT_EQ(aids.longestSpan, findLongestSpan(d));
            EXPECT_EQ(aids.lightestSection, findLightestSection(d, sections));
        }
    }
}

} // namespace
} // namespace joist
