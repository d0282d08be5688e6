// The Sheet Details window: opened from the main window's menu, its boxes
// the design's details, kept as defaults only when the user asks, and the
// header they fill on the saved sheet.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "document/design_basis_settings.h"
#include "document/design_file.h"
#include "document/sheet_details.h"
#include "tests/main_window_fixtures.h"
#include "tests/sheet_fixtures.h"
#include "ui/sheet/sheet_details_window.h"

namespace ui {
namespace {

using testing::MainWindowDriver;

// Typed as keystrokes, also letters beyond ASCII that QTest cannot click.
void typeInto(QLineEdit* box, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}

class SheetDetailsWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previousConfig_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", previousConfig_); }
    QString settingsFile() const
    {
        return config_.filePath(QStringLiteral("timber-joist/timber-joist.conf"));
    }
    static FrmSheetDetails* open(MainWindowDriver& main)
    {
        main.start();
        main.window->findChild<QAction*>("sheetDetailsAct")->trigger();
        return main.window->sheetDetailsWindow();
    }

    QTemporaryDir config_;
    QByteArray previousConfig_;
};

// Typing changes the design's details, which the sheet prints; only the
// button keeps them, without member and revision, for the next start.
TEST_F(SheetDetailsWindow, KeepsDefaultsOnlyWhenAsked)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("sheet.pdf");
    {
        MainWindowDriver main(testing::shippedDirectory());
        FrmSheetDetails* window = open(main);
        ASSERT_TRUE(window);
        EXPECT_EQ(window->objectName(), "frmSheetDetails");
        EXPECT_TRUE(window->isVisible());
        auto* useAsDefault = control<QPushButton>(window, "useAsDefaultBtn");
        EXPECT_FALSE(useAsDefault->isEnabled()) << "nothing to keep yet";
        typeInto(control<QLineEdit>(window, "projectTxt"), "Mill Lane \u00C9cole");
        typeInto(control<QLineEdit>(window, "calculatedByTxt"), "J. M\u00FCller");
        typeInto(control<QLineEdit>(window, "revisionTxt"), "B");
        QTest::keyClick(control<QLineEdit>(window, "jobNoTxt"), Qt::Key_Z);
        main.window->saveCalculationTo(path);
        EXPECT_FALSE(QFile::exists(settingsFile())) << "typing kept something";
        useAsDefault->click();
        EXPECT_FALSE(useAsDefault->isEnabled());
        ASSERT_TRUE(QFile::exists(settingsFile()));
        QTest::keyClick(control<QLineEdit>(window, "jobNoTxt"), Qt::Key_Backspace);
        useAsDefault->click();
    }
    const QString text = testing::pdfText(path);
    EXPECT_TRUE(text.contains("Mill Lane \u00C9cole")) << text.toStdString();
    EXPECT_TRUE(text.contains("J. M\u00FCller"));
    EXPECT_TRUE(text.contains("Page 1 of 1"));
    const QString info = testing::run("pdfinfo", {path});
    EXPECT_TRUE(info.contains(QRegularExpression("Author:\\s+J. M\u00FCller\n")))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Subject:\\s+Timber floor joist")));
    EXPECT_TRUE(info.contains(QRegularExpression("Title:\\s+Timber floor joist to EN 1995-1-1")));

    MainWindowDriver main(testing::shippedDirectory());
    FrmSheetDetails* window = open(main);
    ASSERT_TRUE(window);
    const document::SheetDetails expected{"Mill Lane \u00C9cole", {}, {}, "J. M\u00FCller", {}, {}};
    EXPECT_TRUE(window->details() == expected) << "the job no. emptied, so removed";
    EXPECT_EQ(document::programSettings()->allKeys().size(), 2);
}

// A detail pasted from a spreadsheet or a terminal is cleaned as it arrives,
// so that the design saved with it opens again.
TEST_F(SheetDetailsWindow, CleansPastedControlsSoTheSavedDesignOpens)
{
    MainWindowDriver main(testing::shippedDirectory());
    FrmSheetDetails* window = open(main);
    ASSERT_TRUE(window);
    QLineEdit* member = control<QLineEdit>(window, "memberTxt");
    QGuiApplication::clipboard()->setText(
        QStringLiteral("B1\tGrid 2\r\nLevel\u20283\u0085roof\x1b[0m"));
    member->paste();
    EXPECT_EQ(member->text(), "B1 Grid 2 Level 3 roof[0m");
    const document::SheetDetails kept = window->details();
    EXPECT_EQ(kept.member, member->text());
    EXPECT_NO_THROW(document::parseDesignFile(
        "pasted.joist",
        document::designFileBytes(document::startInputs(), joist::DesignBasis{}, kept)));

    // More than the sheet's header shows whole is not taken, and the window says so.
    QGuiApplication::clipboard()->setText(
        QString(document::longestSheetDetail + 5, QLatin1Char('x')));
    member->selectAll();
    member->paste();
    EXPECT_EQ(member->text().size(), document::longestSheetDetail);
    EXPECT_TRUE(control<QLabel>(window, "detailsWarningLbl")->text().startsWith("Member"));
}

} // namespace
} // namespace ui
