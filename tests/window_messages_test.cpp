#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTextDocument>
#include <QWindow>

#include "tests/main_window_fixtures.h"
#include "tests/materials_fixtures.h"
#include "ui/material_data_window.h"
#include "ui/sheet/calculation_sheet.h"
#include "ui/span_table_window.h"
#include "ui/toolkit/value_label.h"

namespace ui {
namespace {

using testing::MainWindowDriver;

QString readToolTip(QWidget* widget)
{
    return testing::hoverToolTip(widget);
}

double luminance(QColor c)
{
    auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

TEST(WindowMessages, QuoteTypedTextAsWrittenAndSuggestOnlySafeRewrites)
{
    struct Case
    {
        QLocale locale;
        QString typed;
        QString message;
    };
    const Case cases[] = {
        {QLocale::c(), QStringLiteral("1,000"),
         "Results out of date: Span of Joist \"1,000\" is not a number here; numbers are written "
         "without thousands separators, with \".\" for decimals."},
        {QLocale(QLocale::German, QLocale::Germany), QStringLiteral("1.000"),
         "Results out of date: Span of Joist \"1.000\" is not a number here; numbers are written "
         "without thousands separators, with \",\" for decimals."},
        {QLocale::c(), QStringLiteral("4,25"),
         "Results out of date: Span of Joist \"4,25\" is not a number here; write it \"4.25\"."},
        // A direction control would reverse the line on screen: shown escaped.
        {QLocale::c(), QStringLiteral("\u202E05"),
         "Results out of date: Span of Joist \"<U+202E>05\" is not a number."},
        // A full stop where the locale writes the Arabic decimal separator.
        {QLocale(QLocale::Arabic, QLocale::Egypt), QStringLiteral("0.5"),
         "Results out of date: Span of Joist \"0.5\" is not a number here; write it "
         "\"0\u066B5\"."},
    };
    for (const Case& c : cases) {
        MainWindowDriver main(testing::shippedDirectory(), c.locale);
        main.start();
        main.box(joist::Input::span)->setText(c.typed); // as pasted
        EXPECT_EQ(main.label("messageLbl"), c.message);
    }
}

TEST(WindowMessages, ANumberTooWideLosesDigitsNotItsMagnitude)
{
    struct Case
    {
        const char* text;
        int width; // in characters
        const char* shown;
    } cases[] = {
        {"6.571746e+09", 8, "6.57e+09"}, {"3028104", 8, "3.03e+06"}, {"-3028104", 6, "-3e+06"},
        {"2,5e-07", 7, "2,5e-07"},       {"3028104", 3, ""},         {"C24", 2, ""},
    };
    for (const Case& c : cases) {
        const QString shown =
            shortenedNumber(QString::fromUtf8(c.text), QLatin1Char('.'),
                            [&](const QString& text) { return text.size() <= c.width; });
        EXPECT_EQ(shown, QString::fromUtf8(c.shown)) << c.text;
    }
}

TEST(WindowMessages, NothingIsCutSilentlyAndStaleResultsStayReadable)
{
    MainWindowDriver main;
    main.start();
    main.type(joist::Input::span, "10000");
    auto* bending = control<ValueLabel>(main.window.get(), "u2ResLbl");
    const QString whole = bending->text();
    ASSERT_EQ(whole, "5.260943e+09");
    EXPECT_TRUE(bending->elided());
    EXPECT_TRUE(bending->shownText().endsWith("e+09")) << bending->shownText().toStdString();
    EXPECT_TRUE(readToolTip(bending).startsWith(whole + "\n\n"));
    EXPECT_EQ(bending->accessibleDescription(), whole);

    // A long message is cut with an ellipsis and whole in the tooltip.
    main.type(joist::Input::span, "4");
    main.type(joist::Input::camber, "1,000" + QString(40, QLatin1Char('x')));
    auto* message = control<ValueLabel>(main.window.get(), "messageLbl");
    EXPECT_TRUE(message->elided());
    EXPECT_EQ(readToolTip(message), message->text());

    // Out of date: italic, and at least 4.5:1 against the window.
    ASSERT_FALSE(bending->isEnabled());
    EXPECT_TRUE(bending->font().italic());
    const double text =
        luminance(bending->palette().color(QPalette::Disabled, QPalette::WindowText));
    const double ground = luminance(main.window->palette().color(QPalette::Window));
    EXPECT_GE((std::max(text, ground) + 0.05) / (std::min(text, ground) + 0.05), 4.5);
}

TEST(WindowMessages, TextFromTheFileIsShownAsWrittenNeverObeyed)
{
    using namespace materials::testing;
    TemporaryDirectory directory;
    const std::string values = "16, 10, 0.5, 17, 2.2, 1.8, 8, 5.4, 0.27, 0.5, 370, 310";
    const std::string markup = "<img src=\"x.png\"><b>C16</b>";
    // No C16: the start-up notice names the first class, 120 characters
    // long with a direction control and a line break.
    makeTable(
        directory,
        createSheet + ";" +
            insertRow("'\u202E' || char(10) || replace(hex(zeroblob(59)), '0', 'x')", values) +
            insertRow("'" + markup + "'", "16, 10, 0.5, 17, 2.2, NULL, 8, 5.4, 0.27, "
                                          "0.5, 370, 310") +
            insertRow("'C[*]40'", values));
    MainWindowDriver main(directory.path());
    main.start();
    const QString notice = main.label("messageLbl");
    EXPECT_TRUE(notice.endsWith("xx\u2026\".")) << notice.toStdString();
    EXPECT_TRUE(notice.contains("\"<U+202E>\\x0A")) << notice.toStdString();
    EXPECT_EQ(main.label("SCLbl").size(), 80);
    main.window->findChild<QAction*>("copyCalcAct")->trigger();
    const QString sheet = QApplication::clipboard()->text();
    EXPECT_TRUE(sheet.contains("<U+202E>") && !sheet.contains(QChar(0x202E)));

    main.pickClass(QString::fromUtf8(markup));
    ASSERT_FALSE(main.window->resultsCurrent());
    // The class name stands in the message as written, and the tooltips read
    // it as written too.
    EXPECT_TRUE(main.label("messageLbl").contains(QString::fromUtf8(markup)));
    EXPECT_TRUE(readToolTip(control<QLabel>(main.window.get(), "bendingResLbl"))
                    .contains(QString::fromUtf8(markup)));

    // Qt reads "[*]" in a title as the modified mark.
    main.pickClass("C[*]40");
    main.window->findChild<QAction*>("spanTableAct")->trigger();
    EXPECT_TRUE(main.window->spanTableWindow()->windowHandle()->title().startsWith(
        "Span table: C[*]40, dead"));
}

// The verdict stands as the check gives it; the message line, the aids and
// the sheet say that it answers nothing.
TEST(WindowMessages, ANegativeLoadIsSaidAndGivesNoAids)
{
    MainWindowDriver main;
    main.start();
    main.type(joist::Input::liveLoad, "-1.5");
    EXPECT_EQ(main.label("governedByLbl"), "Joist Passes");
    EXPECT_TRUE(main.label("messageLbl").contains("live load is negative"));
    EXPECT_TRUE(main.window->designAidLines().constFirst().endsWith(": \u2013"));
    EXPECT_TRUE(sheetPlainText(main.window->calculationSheet()).contains("live load is negative"));
    main.type(joist::Input::liveLoad, "1.5");
    EXPECT_TRUE(main.label("messageLbl").isEmpty());
}

TEST(WindowMessages, AStartUpThatCannotReadItsInputsRunsNoCheck)
{
    using namespace materials::testing;
    TemporaryDirectory directory;
    makeTable(directory,
              createSheet + ";" +
                  insertRow("'C16'", "16, 10, 0.5, 17, 2.2, 'soft', 8, 5.4, 0.27, 0.5, 370, 310"));
    MainWindowDriver main(directory.path());
    main.start();
    EXPECT_EQ(main.window->checksRun(), 0);
    EXPECT_FALSE(main.window->resultsCurrent());
    EXPECT_TRUE(main.label("messageLbl").contains("fv,k"));
}

TEST(WindowMessages, MaterialValuesHaveAccessibleNames)
{
    MainWindowDriver main;
    main.start();
    control<QPushButton>(main.window.get(), "showDBdataBtn")->click();
    const QWidget* data = main.window->materialDataWindow();
    EXPECT_EQ(control<QLabel>(data, "fmkLbl")->accessibleName(), "fm,k, N/mm2");
    EXPECT_EQ(control<QLabel>(data, "Label33")->accessibleName(), "\u03C1k, kg/m3");
    EXPECT_EQ(control<QLabel>(data, "Label33")->accessibleDescription(), "310");
}

} // namespace
} // namespace ui
