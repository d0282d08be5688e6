#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>

#include "tests/sketch_fixtures.h"
#include "ui/sketch/section_sketch.h"
#include "ui/toolkit/picture_box.h"

namespace ui {
namespace {

using testing::section;

// The sketch area at its layout size, 281 x 189 pixels, on a white ground.
class PictureBoxTest : public ::testing::Test
{
protected:
    PictureBoxTest()
    {
        box.resize(281, 189);
        box.setForegroundColor(Qt::black);
    }
    bool dark(int x, int y) { return box.image().pixelColor(x, y) == QColor(Qt::black); }
    bool white(int x, int y) { return box.image().pixelColor(x, y) == QColor(Qt::white); }

    PictureBox box;
};

TEST_F(PictureBoxTest, DefaultSketchLandsOnTheExpectedPixels)
{
    ASSERT_TRUE(drawSection(section(44, 225, 300), box).ok());
    // x maps by 281/600 from -128, y by 189/600 from -187.5, rounded to the
    // nearest pixel; each outline is a 2-pixel band ending on that pixel.
    const int row = 100;
    for (int x : {59, 60, 80, 81, 199, 200, 220, 221})
        EXPECT_TRUE(dark(x, row)) << x;
    for (int x : {58, 61, 70, 79, 82, 198, 201, 210, 219, 222})
        EXPECT_TRUE(white(x, row)) << x; // hollow joists, clear gaps
    const int column = 70;               // inside the left joist
    for (int y : {129, 130})
        EXPECT_TRUE(dark(column, y)) << y; // bottom edge at y = 225
    EXPECT_TRUE(white(column, 131));
    // The deck runs edge to edge from y = -20 (row 53) to y = 0 (row 59).
    for (int x : {0, 140, 280}) {
        EXPECT_TRUE(white(x, 52)) << x;
        for (int y = 53; y <= 59; ++y)
            EXPECT_TRUE(dark(x, y)) << x << "," << y;
    }
    EXPECT_TRUE(white(140, 60)); // between the joists, under the deck
}

TEST_F(PictureBoxTest, EachDrawingErasesThePreviousOne)
{
    ASSERT_TRUE(drawSection(section(36, 100, 600), box).ok());
    ASSERT_TRUE(drawSection(section(75, 225, 200), box).ok());
    PictureBox fresh;
    fresh.resize(281, 189);
    fresh.setForegroundColor(Qt::black);
    ASSERT_TRUE(drawSection(section(75, 225, 200), fresh).ok());
    EXPECT_EQ(box.image(), fresh.image());
}

TEST_F(PictureBoxTest, TheDrawingSurvivesShowingAndRepainting)
{
    // Drawn while hidden, as start-up does, then shown.
    ASSERT_TRUE(drawSection(section(44, 225, 300), box).ok());
    box.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dark(140, 55));
    const QImage painted = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(painted, box.image());
}

TEST_F(PictureBoxTest, RefusesAnEmptyOrNonFiniteWindowAndCoordinates)
{
    EXPECT_FALSE(box.setUserWindow(0, 0, 0, 10));
    EXPECT_FALSE(box.setUserWindow(0, 0, 10, 0));
    EXPECT_FALSE(box.setUserWindow(0, 0, std::numeric_limits<float>::infinity(), 10));
    ASSERT_TRUE(box.setUserWindow(0, 0, 10, 10));
    EXPECT_FALSE(box.drawBox(0, 0, std::numeric_limits<float>::quiet_NaN(), 1));
    // Huge but finite coordinates are clipped, not overflowed.
    ASSERT_TRUE(box.setUserWindow(0, 0, 1e-30f, 1e-30f));
    EXPECT_TRUE(box.fillBox(-3e38f, -3e38f, 3e38f, 3e38f));
    EXPECT_TRUE(dark(0, 0));
    EXPECT_TRUE(dark(280, 188));
}

TEST_F(PictureBoxTest, HeightCanBeSetAndStartsClear)
{
    box.setHeightPixels(120);
    EXPECT_EQ(box.height(), 120);
    EXPECT_EQ(box.image().height(), 120);
    EXPECT_TRUE(white(0, 0));
}

} // namespace
} // namespace ui
