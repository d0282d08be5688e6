#include <array>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

#include "engine/design_inputs.h"
#include "tests/sketch_fixtures.h"
#include "ui/sketch/section_sketch.h"

namespace ui {
namespace {

// Records each surface call as text, so whole drawings compare at once.
class RecordingSurface : public DrawingSurface
{
public:
    void clear() override { calls.push_back("clear"); }
    void setFillStyle(FillStyle style) override
    {
        calls.push_back(style == FillStyle::transparent ? "fill transparent" : "fill solid");
    }
    bool setUserWindow(float x1, float y1, float x2, float y2) override
    {
        calls.push_back("window " + text(x1, y1, x2, y2));
        return x2 != x1 && y2 != y1;
    }
    bool drawBox(float x1, float y1, float x2, float y2) override
    {
        calls.push_back("box " + text(x1, y1, x2, y2));
        return true;
    }
    bool fillBox(float x1, float y1, float x2, float y2) override
    {
        calls.push_back("filled " + text(x1, y1, x2, y2));
        return true;
    }
    std::vector<std::string> calls;

private:
    static std::string text(float x1, float y1, float x2, float y2)
    {
        char buffer[128];
        std::snprintf(buffer, sizeof buffer, "(%g, %g)-(%g, %g)", double(x1), double(y1),
                      double(x2), double(y2));
        return buffer;
    }
};

using testing::section;

std::vector<std::string> drawing(float breadth, float depth, float spacing)
{
    RecordingSurface surface;
    EXPECT_TRUE(drawSection(section(breadth, depth, spacing), surface).ok());
    return surface.calls;
}

using Calls = std::vector<std::string>;

TEST(SectionSketch, StartUpDefaults)
{
    EXPECT_EQ(
        drawing(44, 225, 300),
        (Calls{"clear", "fill transparent", "window (-128, -187.5)-(472, 412.5)",
               "box (0, 0)-(44, 225)", "box (300, 0)-(344, 225)", "filled (-150, -20)-(644, 0)"}));
}

TEST(SectionSketch, WidestAndClosestViews)
{
    EXPECT_EQ(
        drawing(36, 100, 600),
        (Calls{"clear", "fill transparent", "window (-282, -550)-(918, 650)",
               "box (0, 0)-(36, 100)", "box (600, 0)-(636, 100)", "filled (-300, -20)-(1236, 0)"}));
    EXPECT_EQ(
        drawing(75, 225, 200),
        (Calls{"clear", "fill transparent", "window (-62.5, -87.5)-(337.5, 312.5)",
               "box (0, 0)-(75, 225)", "box (200, 0)-(275, 225)", "filled (-100, -20)-(475, 0)"}));
}

TEST(SectionSketch, UnusualButDrawableSections)
{
    // Breadth equal to spacing: the joists touch and the window spans 0 to 2s.
    EXPECT_EQ(drawing(300, 225, 300)[2], "window (-0, -187.5)-(600, 412.5)");
    // Spacing under half the depth: the window is shorter than the joists.
    EXPECT_EQ(drawing(44, 225, 100)[2], "window (-28, 12.5)-(172, 212.5)");
    // Breadth and depth still zero during start-up: points, and the full deck.
    EXPECT_EQ(drawing(0, 0, 300),
              (Calls{"clear", "fill transparent", "window (-150, -300)-(450, 300)",
                     "box (0, 0)-(0, 0)", "box (300, 0)-(300, 0)", "filled (-150, -20)-(600, 0)"}));
}

TEST(SectionSketch, ZeroSpacingIsAnErrorAfterClearing)
{
    RecordingSurface surface;
    const SketchOutcome outcome = drawSection(section(0, 0, 0), surface);
    EXPECT_EQ(outcome.problem, SketchOutcome::Problem::emptyWindow);
    EXPECT_EQ(outcome.step, 5);
    EXPECT_EQ(surface.calls.size(), 3u); // cleared, fill style set, window refused
}

TEST(SectionSketch, OverflowStopsBeforeTouchingTheSurface)
{
    constexpr float big = std::numeric_limits<float>::max();
    RecordingSurface surface;
    SketchOutcome outcome = drawSection(section(big, 225, big), surface);
    EXPECT_EQ(outcome.problem, SketchOutcome::Problem::floatFault);
    EXPECT_EQ(outcome.step, 1);
    EXPECT_EQ(outcome.fault, joist::FaultKind::overflow);
    EXPECT_TRUE(surface.calls.empty()); // the previous sketch stays

    // 2s overflows only in the window of step 4, after the surface was cleared.
    outcome = drawSection(section(0, 0, big), surface);
    EXPECT_EQ(outcome.step, 4);
    EXPECT_EQ(surface.calls, (Calls{"clear", "fill transparent"}));
}

// Every section either list offers, at every spacing, stands inside the
// sketch's window: the window follows the spacing, never a largest size.
TEST(SectionSketch, EveryOfferedSectionFitsItsWindow)
{
    class Bounds : public DrawingSurface
    {
    public:
        void clear() override {}
        void setFillStyle(FillStyle) override {}
        bool setUserWindow(float x1, float y1, float x2, float y2) override
        {
            window = {x1, y1, x2, y2};
            return true;
        }
        bool drawBox(float x1, float y1, float x2, float y2) override
        {
            inside =
                inside && x1 >= window[0] && x2 <= window[2] && y1 >= window[1] && y2 <= window[3];
            return true;
        }
        bool fillBox(float, float, float, float) override { return true; }
        std::array<float, 4> window{};
        bool inside = true;
    };
    joist::DesignBasis extended;
    extended.sizes = joist::Sizes::extended;
    for (const float b : joist::listValues(joist::Input::breadth, extended))
        for (const float h : joist::listValues(joist::Input::depth, extended))
            for (const float s : joist::listValues(joist::Input::spacing)) {
                Bounds bounds;
                ASSERT_TRUE(drawSection(section(b, h, s), bounds).ok());
                EXPECT_TRUE(bounds.inside) << b << " x " << h << " at " << s;
            }
}

} // namespace
} // namespace ui
