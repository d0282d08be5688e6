#include <gtest/gtest.h>

#include <QPushButton>
#include <QTextDocument>

#include "tests/main_window_fixtures.h"
#include "tests/materials_fixtures.h"
#include "ui/material_data_window.h"
#include "ui/toolkit/value_label.h"

namespace ui {
namespace {

using testing::MainWindowDriver;

QString readToolTip(const QWidget* widget)
{
    if (!Qt::mightBeRichText(widget->toolTip()))
        return widget->toolTip();
    QTextDocument document;
    document.setHtml(widget->toolTip());
    return document.toPlainText();
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
    };
    for (const Case& c : cases) {
        MainWindowDriver main(testing::shippedDirectory(), c.locale);
        main.start();
        main.box(joist::Input::span)->setText(c.typed); // as pasted
        EXPECT_EQ(main.label("messageLbl"), c.message);
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

TEST(WindowMessages, TextFromTheFileIsNeverMarkup)
{
    using namespace materials::testing;
    TemporaryDirectory directory;
    const std::string markup = "<img src=\"x.png\"><b>C16</b>";
    makeTable(directory, createSheet + ";" + classRows({"C16"}) +
                             insertRow("'" + markup + "'", "16, 10, 0.5, 17, 2.2, NULL, 8, 5.4, "
                                                           "0.27, 0.5, 370, 310") +
                             insertRow("'\u202EC16'", "16, 10, 0.5, 17, 2.2, NULL, 8, 5.4, 0.27, "
                                                      "0.5, 370, 310"));
    MainWindowDriver main(directory.path());
    main.start();
    main.pickClass(QString::fromUtf8(markup));
    ASSERT_FALSE(main.window->resultsCurrent());
    // The class name stands in the message as written, and the tooltips read
    // it as written too.
    EXPECT_TRUE(main.label("messageLbl").contains(QString::fromUtf8(markup)));
    EXPECT_TRUE(readToolTip(control<QLabel>(main.window.get(), "bendingResLbl"))
                    .contains(QString::fromUtf8(markup)));

    // A direction control in a class name is quoted escaped, not obeyed.
    main.pickClass(QStringLiteral("\u202EC16"));
    EXPECT_TRUE(main.label("messageLbl").contains("\"<U+202E>C16\""))
        << main.label("messageLbl").toStdString();
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
