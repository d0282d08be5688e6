#include <gtest/gtest.h>

#include <QTextDocument>

#include "engine/design_inputs.h"
#include "tests/main_window_fixtures.h"

namespace ui {
namespace {

using testing::MainWindowDriver;

// The tooltip as the user reads it.
QString tip(const MainWindowDriver& main, std::string_view label)
{
    return testing::hoverToolTip(control<QLabel>(main.window.get(), label));
}

TEST(ResultWorking, StartUpTooltipsShowDemandCapacityAndRatio)
{
    MainWindowDriver main;
    main.start();
    EXPECT_EQ(tip(main, "bearingResLbl"),
              "\u03C3c,90,d = 0.805 N/mm\u00B2 / fc,90,d = 1.354 N/mm\u00B2 = 0.595");
    EXPECT_EQ(tip(main, "u2ResLbl"), "u inst,Q = 4.489 mm / L/300 = 13.33 mm = 0.337");
    EXPECT_EQ(tip(main, "bendingResLbl"),
              "\u03C3m,d = 4.77 N/mm\u00B2 / fm,d = 9.846 N/mm\u00B2 = 0.484");
    EXPECT_EQ(tip(main, "shearResLbl"),
              "\u03C4d = 1.5 V/A = 0.2683 N/mm\u00B2 / fv,d = 1.108 N/mm\u00B2 = 0.242");
    EXPECT_EQ(tip(main, "u2_finResLbl"), "u fin,Q = 5.612 mm / L/200 = 20 mm = 0.281");
    EXPECT_EQ(tip(main, "u_net_finResLbl"),
              "u fin,G + u fin,Q \u2212 u0 = 8.412 mm / L/200 = 20 mm = 0.421");
    EXPECT_EQ(tip(main, "unityRatioLbl"), "Governed by Bearing: 0.595");
    // Then the design aids.
    EXPECT_TRUE(tip(main, "governedByLbl")
                    .startsWith("u 2: 0.337\n"
                                "u 2,fin: 0.281\n"
                                "u net,fin: 0.421\n"
                                "Bending: 0.484\n"
                                "Shear: 0.242\n"
                                "Bearing: 0.595  \u2190 governs\n"
                                "Design load w = 0.8855 kN/m\n"
                                "Design moment M = 1.771 kNm\n"
                                "Design shear V = 1.771 kN\n"
                                "Floor vibration not checked (Design Basis..., Ctrl+D)\n"));
}

TEST(ResultWorking, AFailingCheckInEitherLocale)
{
    MainWindowDriver point;
    point.start();
    point.type(joist::Input::span, "6");
    EXPECT_EQ(tip(point, "unityRatioLbl"), "Governed by u net,fin: 1.419");
    EXPECT_EQ(tip(point, "bendingResLbl"),
              "\u03C3m,d = 10.73 N/mm\u00B2 / fm,d = 9.846 N/mm\u00B2 = 1.09");
    EXPECT_TRUE(tip(point, "governedByLbl").contains("u net,fin: 1.419  \u2190 governs\n"));

    MainWindowDriver comma(testing::shippedDirectory(), QLocale(QLocale::German));
    comma.start();
    comma.type(joist::Input::span, "6");
    EXPECT_EQ(tip(comma, "unityRatioLbl"), "Governed by u net,fin: 1,419");
    EXPECT_EQ(tip(comma, "bendingResLbl"),
              "\u03C3m,d = 10,73 N/mm\u00B2 / fm,d = 9,846 N/mm\u00B2 = 1,09");
    EXPECT_EQ(tip(comma, "shearResLbl"),
              "\u03C4d = 1,5 V/A = 0,4025 N/mm\u00B2 / fv,d = 1,108 N/mm\u00B2 = 0,363");
}

TEST(ResultWorking, OutOfDateTooltipsSaySoAndShowOnlyCompletedWork)
{
    MainWindowDriver main;
    main.start();
    main.type(joist::Input::span, "0"); // stops at the first ratio, after storing span 0
    const QString bending = tip(main, "bendingResLbl");
    EXPECT_TRUE(bending.startsWith("Results out of date: Span of Joist is 0"));
    EXPECT_TRUE(bending.contains("From the last completed check, not the inputs on screen:\n"
                                 "\u03C3m,d = 4.77 N/mm\u00B2"));
    EXPECT_TRUE(tip(main, "u2ResLbl").endsWith("L/300 = 13.33 mm = 0.337")); // not L = 0

    main.type(joist::Input::span, "x");
    EXPECT_TRUE(tip(main, "governedByLbl").startsWith("Results out of date: Span of Joist"));
    main.type(joist::Input::span, "4");
    EXPECT_EQ(tip(main, "unityRatioLbl"), "Governed by Bearing: 0.595");
}

TEST(ResultWorking, EveryInputAndResultHasAnAccessibleName)
{
    MainWindowDriver main;
    main.start();
    // Inputs by their caption and unit, results by their caption.
    for (const joist::InputFacts& row : joist::inputFacts()) {
        const joist::Input input = row.input;
        const QWidget* control = main.box(input) ? static_cast<QWidget*>(main.box(input))
                                 : main.list(input)
                                     ? static_cast<QWidget*>(main.list(input))
                                     : main.controls().inputs[std::size_t(input)].label;
        EXPECT_EQ(control->accessibleName().toStdString(), accessibleInputName(row));
    }
    EXPECT_EQ(main.classList()->accessibleName(), "Strength Class");
    for (const joist::CheckDefinition& check : joist::checkDefinitions) {
        if (const ValueLabel* label = resultLabel(main.controls(), check.label))
            EXPECT_EQ(label->accessibleName(),
                      QString::fromUtf8(check.caption) + QStringLiteral(" ratio"));
    }
    EXPECT_EQ(main.controls().unityRatioLbl->accessibleName(), "Overall ratio");
    EXPECT_EQ(main.controls().governedByLbl->accessibleName(), "Result");
    EXPECT_EQ(main.box(joist::Input::span)->accessibleName(), "Span of Joist, m");
    // A screen reader says the value too, not only the caption.
    EXPECT_EQ(control<QWidget>(main.window.get(), "bendingResLbl")->accessibleDescription(),
              "0.484");
    EXPECT_EQ(control<QWidget>(main.window.get(), "governedByLbl")->accessibleDescription(),
              "Joist Passes");
    EXPECT_EQ(control<QWidget>(main.window.get(), "fmkLbl")->accessibleDescription(), "16");
}

} // namespace
} // namespace ui
