#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>

#include "tests/main_window_fixtures.h"
#include "ui/material_data_window.h"
#include "ui/toolkit/value_label.h"

namespace ui {
namespace {

using testing::MainWindowDriver;

const char* const valueLabels[] = {"fmkLbl",   "Label5",  "Label4",   "fc0kLbl",
                                   "fc90kLbl", "fvkLbl",  "EmeanLbl", "Label16",
                                   "Label26",  "Label29", "RmeanLbl", "Label33"};

class MaterialDataWindow : public ::testing::Test
{
protected:
    void SetUp() override { main.start(); }

    void pressShow() { control<QPushButton>(main.window.get(), "showDBdataBtn")->click(); }
    FrmDBData* data() const { return main.window->materialDataWindow(); }
    QString heading() const { return control<QLabel>(data(), "SCLbl")->text(); }
    QStringList values() const
    {
        QStringList texts;
        for (const char* name : valueLabels)
            texts << control<QLabel>(data(), name)->text();
        return texts;
    }
    int windowsNamed(const QString& name) const
    {
        int count = 0;
        for (QWidget* widget : QApplication::topLevelWidgets())
            count += widget->objectName() == name;
        return count;
    }

    MainWindowDriver main;
};

TEST_F(MaterialDataWindow, ShowsTheSelectedClassAndItsTwelveValues)
{
    pressShow();
    ASSERT_NE(data(), nullptr);
    EXPECT_TRUE(data()->isVisible());
    EXPECT_EQ(data()->windowTitle(), "Material Properties");
    EXPECT_EQ(data()->size(), QSize(342, 393));
    EXPECT_EQ(heading(), "C16");
    EXPECT_EQ(values(), (QStringList{"16", "10", "0.5", "17", "2.2", "1.8", "8", "5.4", "0.27",
                                     "0.5", "370", "310"}));
    EXPECT_EQ(data()->focusWidget(), control<QPushButton>(data(), "Command1"));
}

TEST_F(MaterialDataWindow, DoesNotFollowLaterSelectionsUntilClosed)
{
    pressShow();
    main.pickClass("C24");
    EXPECT_EQ(heading(), "C16"); // visible: unchanged
    EXPECT_EQ(values().front(), "16");

    control<QPushButton>(data(), "Command1")->click(); // OK hides
    EXPECT_FALSE(data()->isVisible());
    EXPECT_TRUE(data()->isLoaded());
    main.pickClass("C30");
    pressShow();
    EXPECT_EQ(heading(), "C16"); // hidden and shown again: unchanged

    data()->close(); // the title-bar close unloads it
    EXPECT_FALSE(data()->isLoaded());
    pressShow();
    EXPECT_EQ(heading(), "C30");
    EXPECT_EQ(values().front(), "30");
}

TEST_F(MaterialDataWindow, OneInstanceBesideAUsableMainWindow)
{
    pressShow();
    pressShow();
    EXPECT_EQ(windowsNamed("frmDBData"), 1);
    EXPECT_TRUE(data()->isVisible());

    // The main window goes on working beside it.
    main.type(joist::Input::span, "6");
    EXPECT_EQ(main.label("governedByLbl"), "Joist fails in deflection: u net,fin");
    EXPECT_EQ(heading(), "C16");

    // Closing the main window closes it too.
    main.window->close();
    EXPECT_FALSE(data()->isVisible());
    EXPECT_FALSE(data()->isLoaded());
}

// Run also at QT_SCALE_FACTOR=2, where fonts are measured differently.
TEST_F(MaterialDataWindow, CaptionsShowTheirWholeText)
{
    pressShow();
    for (const QWidget* window :
         {static_cast<QWidget*>(main.window.get()), static_cast<QWidget*>(data())}) {
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->text().isEmpty() || dynamic_cast<const ValueLabel*>(label))
                continue;
            EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
                << label->text().toStdString();
        }
    }
}

} // namespace
} // namespace ui
