#include <gtest/gtest.h>

#include <QPushButton>

#include "materials/database_error.h"
#include "tests/main_window_fixtures.h"
#include "tests/materials_fixtures.h"
#include "ui/toolkit/picture_box.h"

namespace ui {
namespace {

using testing::MainWindowDriver;

TEST(MainWindow, StartsWithTheDefaultInputsAndOneCheck)
{
    MainWindowDriver main;
    main.start();
    FrmMain& w = *main.window;

    EXPECT_EQ(w.windowTitle(), "Timber Joist Design to EC5 by Brannoch");
    EXPECT_EQ(w.size(), QSize(734, 550)); // 11010 x 8250 twips
    EXPECT_EQ(main.box(joist::Input::span)->text(), "4");
    EXPECT_EQ(main.box(joist::Input::bearingLength)->text(), "50");
    EXPECT_EQ(main.box(joist::Input::camber)->text(), "0");
    EXPECT_EQ(main.box(joist::Input::deadLoad)->text(), "0.4");
    EXPECT_EQ(main.box(joist::Input::liveLoad)->text(), "1.5");
    const std::pair<const char*, const char*> selections[] = {
        {"cmbSpacing", "300"}, {"cmbBreadth", "44"}, {"cmbDepth", "225"},  {"cmbSC", "C16"},
        {"cmbKmod", "0.8"},    {"cmbKcrit", "1"},    {"cmbKls", "1"},      {"cmbKh", "1"},
        {"cmbGm", "1.3"},      {"cmbKmodGk", "0.8"}, {"cmbKmodQk", "0.25"}};
    for (const auto& [name, text] : selections)
        EXPECT_EQ(control<DropDownList>(&w, name)->selectedText(), text) << name;

    EXPECT_EQ(main.label("SCLbl"), "C16");
    EXPECT_EQ(main.label("fmkLbl"), "16");
    EXPECT_EQ(main.label("fc0kLbl"), "17");
    EXPECT_EQ(main.label("fc90kLbl"), "2.2");
    EXPECT_EQ(main.label("fvkLbl"), "1.8");
    EXPECT_EQ(main.label("EmeanLbl"), "8");
    EXPECT_EQ(main.label("RmeanLbl"), "370");

    expectResults(main, {{joist::ResultLabel::bearing, "0.595"},
                         {joist::ResultLabel::unityRatio, "0.595"},
                         {joist::ResultLabel::governedBy, "Joist Passes"}});
    // The handlers fired during start-up, but only the last step checked.
    EXPECT_EQ(w.checksRun(), 1);
    EXPECT_TRUE(w.resultsCurrent());
    EXPECT_EQ(main.label("messageLbl"), "");
    EXPECT_EQ(w.design().span, 4.0f);
    EXPECT_EQ(w.design().kmodQk, 0.25f);
    EXPECT_EQ(w.design().rhoMean, 370.0f);
    PictureBox* pic = control<PictureBox>(&w, "Pic");
    EXPECT_EQ(pic->height(), 189);
    EXPECT_EQ(pic->image().pixelColor(140, 55), pic->foregroundColor()); // the deck
}

TEST(MainWindow, EveryEditRecalculatesAtOnce)
{
    MainWindowDriver main;
    main.start();
    const QStringList startResults = main.results();
    const joist::JoistDesign before = main.window->design();

    main.type(joist::Input::span, "5");
    joist::JoistDesign inputsOnly = main.window->design();
    EXPECT_EQ(inputsOnly.span, 5.0f);
    EXPECT_EQ(main.window->checksRun(), 2);
    // The other nineteen inputs are as they were.
    for (const joist::InputDefinition& input : joist::inputDefinitions) {
        if (input.input != joist::Input::span) {
            EXPECT_EQ(inputsOnly.*input.member, before.*input.member)
                << static_cast<int>(input.input);
        }
    }

    main.type(joist::Input::span, "6");
    expectResults(main, {{joist::ResultLabel::uNetFin, "1.419"},
                         {joist::ResultLabel::governedBy, "Joist fails in deflection: u net,fin"}});
    main.type(joist::Input::span, "4");
    EXPECT_EQ(main.results(), startResults);

    // A camber counts at once, not only at the next class pick.
    main.type(joist::Input::camber, "5");
    EXPECT_EQ(main.label("u_net_finResLbl"), "0.171");
}

TEST(MainWindow, ListPicksAndClassChangesRecalculate)
{
    MainWindowDriver main;
    main.start();
    main.pick(joist::Input::depth, "150");
    EXPECT_EQ(main.window->design().depth, 150.0f);
    EXPECT_EQ(main.label("bendingResLbl"), "1.07");

    main.pick(joist::Input::depth, "225");
    main.pickClass("C24");
    EXPECT_EQ(main.label("SCLbl"), "C24");
    EXPECT_EQ(main.label("fmkLbl"), "24");
    EXPECT_EQ(main.label("fc0kLbl"), "21");
    EXPECT_EQ(main.label("fc90kLbl"), "2.5");
    EXPECT_EQ(main.label("fvkLbl"), "2.5");
    EXPECT_EQ(main.label("EmeanLbl"), "11");
    EXPECT_EQ(main.label("RmeanLbl"), "420");
    EXPECT_EQ(main.window->design().fmk, 24.0f);
    EXPECT_EQ(main.label("bendingResLbl"), "0.325");
    EXPECT_EQ(main.label("governedByLbl"), "Joist Passes");
}

TEST(MainWindow, VerdictEdgesShowTheRoundedRatios)
{
    MainWindowDriver main;
    main.start();
    // Net final deflection 19.99983 mm over 20 mm rounds to exactly 1: a pass.
    main.type(joist::Input::camber, "-11.588");
    EXPECT_EQ(main.label("u_net_finResLbl"), "1");
    EXPECT_EQ(main.label("unityRatioLbl"), "1");
    EXPECT_EQ(main.label("governedByLbl"), "Joist Passes");
    // 13.99983 mm over 20 mm rounds to 0.700 and shows as 0.7.
    main.type(joist::Input::camber, "-5.588");
    EXPECT_EQ(main.label("u_net_finResLbl"), "0.7");
    main.type(joist::Input::camber, "0");

    // Governed by bearing: the unity label repeats the bearing ratio.
    main.type(joist::Input::bearingLength, "10");
    EXPECT_EQ(main.label("governedByLbl"), "Joist fails in bearing");
    EXPECT_EQ(main.label("unityRatioLbl"), main.label("bearingResLbl"));

    // Governed by shear: a short, heavily loaded joist on long bearings.
    main.type(joist::Input::bearingLength, "500");
    main.type(joist::Input::span, "0.5");
    main.type(joist::Input::liveLoad, "200");
    EXPECT_EQ(main.label("governedByLbl"), "Joist fails in shear");
    EXPECT_EQ(main.label("unityRatioLbl"), main.label("shearResLbl"));
}

TEST(MainWindow, TextThatIsNotANumberKeepsTheRecordAndSaysSo)
{
    MainWindowDriver main;
    main.start();
    const QStringList startResults = main.results();
    FrmMain& w = *main.window;

    main.type(joist::Input::span, "");
    EXPECT_EQ(w.design().span, 4.0f);
    EXPECT_EQ(w.checksRun(), 1);
    EXPECT_FALSE(w.resultsCurrent());
    EXPECT_EQ(main.results(), startResults); // kept, but shown as out of date
    EXPECT_FALSE(control<QLabel>(&w, "bendingResLbl")->isEnabled());
    EXPECT_EQ(main.label("messageLbl"), "Results out of date: Span of Joist is empty.");
    EXPECT_FALSE(main.box(joist::Input::span)->styleSheet().isEmpty());

    // Another input still stores and checks, but the span on screen is not
    // the span checked, so the results stay out of date.
    main.pick(joist::Input::depth, "200");
    EXPECT_EQ(w.checksRun(), 2);
    EXPECT_FALSE(w.resultsCurrent());
    main.pick(joist::Input::depth, "225");

    main.type(joist::Input::span, "4x");
    EXPECT_EQ(main.label("messageLbl"),
              "Results out of date: Span of Joist \"4x\" is not a number.");
    main.type(joist::Input::span, "4,5");
    EXPECT_EQ(main.label("messageLbl"),
              "Results out of date: Span of Joist \"4,5\" is not a number here; write it \"4.5\".");
    main.type(joist::Input::span, "1e39");
    EXPECT_EQ(main.label("messageLbl"), "Results out of date: Span of Joist \"1e39\" is beyond "
                                        "the range of numbers the check can hold.");

    main.type(joist::Input::span, "4");
    EXPECT_TRUE(w.resultsCurrent());
    EXPECT_EQ(main.label("messageLbl"), "");
    EXPECT_TRUE(main.box(joist::Input::span)->styleSheet().isEmpty());
    EXPECT_EQ(main.results(), startResults);
}

TEST(MainWindow, AStoppedCheckKeepsTheResultsAndNamesTheCause)
{
    MainWindowDriver main;
    main.start();
    const QStringList startResults = main.results();
    FrmMain& w = *main.window;

    main.type(joist::Input::span, "0");
    EXPECT_EQ(w.design().span, 0.0f);
    EXPECT_EQ(main.results(), startResults);
    EXPECT_FALSE(w.resultsCurrent());
    EXPECT_EQ(main.label("messageLbl"),
              "Results out of date: Span of Joist is 0, so there is no deflection limit.");

    main.type(joist::Input::span, "1e20");
    EXPECT_EQ(main.label("messageLbl"),
              "Results out of date: a result is too large to compute; check Span of Joist, Dead "
              "Load, Live Load, Section Width and Section Depth.");
    main.type(joist::Input::span, "4");
    EXPECT_TRUE(w.resultsCurrent());
    EXPECT_EQ(main.results(), startResults);
}

TEST(MainWindow, ADecimalCommaLocaleGivesTheSameResults)
{
    MainWindowDriver main(testing::shippedDirectory(), QLocale(QLocale::German, QLocale::Germany));
    main.start();
    EXPECT_EQ(main.box(joist::Input::deadLoad)->text(), "0,4");
    EXPECT_EQ(main.list(joist::Input::kmod)->selectedText(), "0,8");
    EXPECT_EQ(main.list(joist::Input::kmodQk)->selectedText(), "0,25");
    EXPECT_EQ(main.label("fc90kLbl"), "2,2");
    MainWindowDriver point;
    point.start();
    // Every result as under a decimal point, with a comma.
    EXPECT_EQ(main.results(), point.results().replaceInStrings(".", ","));
    EXPECT_EQ(main.window->design(), point.window->design());

    main.type(joist::Input::span, "4.5");
    EXPECT_EQ(main.label("messageLbl"),
              "Results out of date: Span of Joist \"4.5\" is not a number here; write it \"4,5\".");
}

TEST(MainWindow, ControlsStandAtTheirTwipsPlacesInFocusOrder)
{
    MainWindowDriver main;
    main.start();
    FrmMain& w = *main.window;
    const std::pair<const char*, QRect> places[] = {
        {"IsoImg", QRect(15, 16, 416, 189)},         {"Pic", QRect(432, 16, 281, 189)},
        {"spanTxt", QRect(136, 224, 49, 19)},        {"cmbSpacing", QRect(136, 256, 65, 21)},
        {"cmbSC", QRect(376, 288, 65, 21)},          {"cmbKmodQk", QRect(648, 416, 65, 21)},
        {"showDBdataBtn", QRect(24, 368, 113, 25)},  {"SCLbl", QRect(104, 408, 25, 17)},
        {"governedByLbl", QRect(320, 408, 225, 17)}, {"u_net_finResLbl", QRect(440, 512, 41, 17)},
        {"Line1", QRect(264, 400, 224, 1)},
    };
    for (const auto& [name, place] : places)
        EXPECT_EQ(control<QWidget>(&w, name)->geometry(), place) << name;

    // The chain follows the focus ranks of the tables, and every control the
    // user can tab to has a rank.
    QStringList expected;
    for (const QWidget* ranked : main.controls().tabOrder)
        expected << ranked->objectName();
    QStringList focusable;
    for (const QWidget* child : w.findChildren<QWidget*>())
        if (child->focusPolicy() & Qt::TabFocus)
            focusable << child->objectName();
    focusable.sort();
    QStringList ranked = expected;
    ranked.sort();
    EXPECT_EQ(ranked, focusable);
    EXPECT_EQ(expected.first(), "spanTxt");
    EXPECT_EQ(expected.last(), "showDBdataBtn");

    QStringList order;
    QWidget* widget = main.box(joist::Input::span);
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != main.box(joist::Input::span) && order.size() < 40);
    EXPECT_EQ(order, expected);
    EXPECT_EQ(w.focusWidget(), main.box(joist::Input::span));
}

// Every check's failure text fits the verdict label whole. Run also at
// QT_SCALE_FACTOR=1.5, a 144 dpi screen, where fonts are hinted differently.
TEST(MainWindow, EveryFailureTextFitsTheVerdictLabelWhole)
{
    MainWindowDriver main;
    main.start();
    const QLabel* verdict = control<QLabel>(main.window.get(), "governedByLbl");
    for (const joist::CheckDefinition& check : joist::checkDefinitions) {
        const QString text =
            QString::fromUtf8(check.failureText.data(), qsizetype(check.failureText.size()));
        EXPECT_LE(verdict->fontMetrics().horizontalAdvance(text), verdict->contentsRect().width())
            << text.toStdString();
    }
}

TEST(MainWindow, DatabaseProblemsAtStartUp)
{
    using namespace materials::testing;
    {
        TemporaryDirectory missing;
        MainWindowDriver main(missing.path());
        EXPECT_THROW(main.start(), materials::DatabaseError);
        EXPECT_FALSE(main.window->isLoaded());
    }
    {
        // No "C16": start on the first class and say so.
        TemporaryDirectory directory;
        makeTable(directory, createSheet + ";" + classRows({"C24", "C18"}));
        MainWindowDriver main(directory.path());
        main.start();
        EXPECT_EQ(main.classList()->selectedText(), "C24");
        EXPECT_EQ(main.label("SCLbl"), "C24");
        EXPECT_TRUE(main.window->resultsCurrent());
        EXPECT_TRUE(main.label("messageLbl").contains("has no class \"C16\""));
    }
    {
        // A class whose design field holds no number: out of date until
        // another class is picked.
        TemporaryDirectory directory;
        makeTable(directory, createSheet + ";" + classRows({"C16"}) +
                                 insertRow("'Bad'", "16, 10, 0.5, 17, 2.2, NULL, 8, 5.4, 0.27, "
                                                    "0.5, 370, 310"));
        MainWindowDriver main(directory.path());
        main.start();
        ASSERT_TRUE(main.window->resultsCurrent());
        main.pickClass("Bad");
        EXPECT_FALSE(main.window->resultsCurrent());
        EXPECT_TRUE(main.label("messageLbl").contains("fv,k"))
            << main.label("messageLbl").toStdString();
        EXPECT_TRUE(main.label("messageLbl").contains("Bad"));
        main.type(joist::Input::span, "5"); // still the old class's values: still out of date
        EXPECT_FALSE(main.window->resultsCurrent());
        main.pickClass("C16");
        EXPECT_TRUE(main.window->resultsCurrent());
    }
}

} // namespace
} // namespace ui
