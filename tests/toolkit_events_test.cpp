#include <gtest/gtest.h>
#include <vector>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "tests/widget_lookup.h"
#include "ui/toolkit/drop_down_list.h"
#include "ui/toolkit/form.h"
#include "ui/toolkit/layout_table.h"
#include "ui/toolkit/twips.h"

namespace ui {
namespace {

TEST(TextBox, EveryChangeRaisesOneSynchronousEvent)
{
    QLineEdit box;
    std::vector<QString> seen;
    QObject::connect(&box, &QLineEdit::textChanged, &box,
                     [&seen](const QString& text) { seen.push_back(text); });

    box.setText(QStringLiteral("4"));
    ASSERT_EQ(seen.size(), 1u); // handled before setText returned
    EXPECT_EQ(seen.back(), "4");
    box.setText(QStringLiteral("4")); // not a change
    EXPECT_EQ(seen.size(), 1u);

    box.selectAll();
    QTest::keyClicks(&box, QStringLiteral("5.5"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(seen, (std::vector<QString>{"4", "5", "5.", "5.5", "5."}));
}

TEST(DropDownList, FillingSelectsNothingAndRaisesNothing)
{
    DropDownList list;
    int clicks = 0;
    QObject::connect(&list, &QComboBox::currentIndexChanged, &list, [&clicks] { ++clicks; });
    list.appendItem(QStringLiteral("C24"));
    list.appendItem(QStringLiteral("C16"));
    EXPECT_EQ(list.selectedIndex(), -1);
    ASSERT_TRUE(list.selectText(QStringLiteral("C16")));
    list.clearItems();
    list.setItems({QStringLiteral("36"), QStringLiteral("44")});
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list.selectedIndex(), -1);
}

TEST(DropDownList, SelectingByTextRaisesTheClickBeforeReturning)
{
    DropDownList list;
    list.setItems({QStringLiteral("200"), QStringLiteral("300"), QStringLiteral("400")});
    std::vector<int> clicks;
    QObject::connect(&list, &QComboBox::currentIndexChanged, &list,
                     [&clicks](int index) { clicks.push_back(index); });

    ASSERT_TRUE(list.selectText(QStringLiteral("300")));
    EXPECT_EQ(clicks, std::vector<int>{1});
    EXPECT_EQ(list.selectedText(), "300");

    // A text no item has changes nothing and says so.
    EXPECT_FALSE(list.selectText(QStringLiteral("350")));
    EXPECT_FALSE(list.selectText(QStringLiteral("30")));
    EXPECT_EQ(list.selectedIndex(), 1);
    EXPECT_EQ(clicks.size(), 1u);

    // The keyboard picks too.
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(clicks, (std::vector<int>{1, 2}));
}

class CountingForm : public Form
{
public:
    CountingForm() : Form(QStringLiteral("Counting"), 5130, 5895) {}
    int loads = 0;
    int unloads = 0;

protected:
    void load() override { ++loads; }
    void unload() override { ++unloads; }
};

TEST(Form, LoadsOnceBeforeShowingAndUnloadsOnClose)
{
    CountingForm form;
    EXPECT_EQ(form.size(), QSize(342, 393)); // 5130 x 5895 twips
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(form.parentWidget(), nullptr);

    form.showModeless();
    form.showModeless();
    EXPECT_EQ(form.loads, 1);
    form.hideForm();
    EXPECT_TRUE(form.isLoaded());
    form.showModeless();
    EXPECT_EQ(form.loads, 1);

    form.close();
    EXPECT_EQ(form.unloads, 1);
    EXPECT_FALSE(form.isLoaded());
    form.showModeless();
    EXPECT_EQ(form.loads, 2);
    form.close();
}

struct TwoControls
{
    QLineEdit* span = nullptr;
    DropDownList* breadth = nullptr;
};

TEST(LayoutTable, PlacesNamedControlsInTwipsAndKeepsThemTyped)
{
    QWidget window;
    using C = TwoControls;
    const Placement<C> table[] = {
        {"spanTxt", ControlKind::textBox, 2040, 3360, 735, 285, "4", into<&C::span>},
        {"", ControlKind::label, 360, 3360, 975, 255, "Span of Joist"},
        {"cmbBreadth", ControlKind::dropDownList, 5640, 3360, 975, 315, "36|44|75",
         into<&C::breadth>},
        {"Line1", ControlKind::line, 3960, 6000, 3360, 0, ""},
    };
    TwoControls controls;
    buildControls(&window, std::span(table), controls);
    QLineEdit* span = controls.span;
    EXPECT_EQ(span, control<QLineEdit>(&window, "spanTxt"));
    EXPECT_EQ(span->geometry(), QRect(136, 224, 49, 19));
    EXPECT_EQ(span->text(), "4");
    DropDownList* breadth = controls.breadth;
    EXPECT_EQ(breadth->count(), 3);
    EXPECT_EQ(breadth->selectedIndex(), -1);
    EXPECT_EQ(control<QWidget>(&window, "Line1")->geometry(), QRect(264, 400, 224, 1));
    EXPECT_THROW(control<QLabel>(&window, "noSuchLbl"), std::logic_error);
}

} // namespace
} // namespace ui
