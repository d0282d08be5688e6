// The help a new user finds from the window: the hint in the message line,
// the manual on F1, the list of shortcuts and the About window.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCryptographicHash>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>

#include "document/settings_file.h"
#include "tests/main_window_fixtures.h"
#include "ui/design_basis_window.h"
#include "ui/error_message.h"

namespace ui {
namespace {

using testing::MainWindowDriver;

QString windowText(const QWidget* window)
{
    QStringList texts;
    for (const QLabel* label : window->findChildren<QLabel*>())
        texts << label->text();
    return texts.join('\n');
}

// Starts with no settings file, as a new user does.
class NewUser : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", previous_); }

    QTemporaryDir config_;
    QByteArray previous_;
};

TEST_F(NewUser, IsToldOfTheContextMenuUntilTheyHaveOpenedIt)
{
    const QString hint = "Right-click the window for its commands; F1 opens the manual.";
    {
        MainWindowDriver main;
        main.start();
        EXPECT_EQ(main.label("messageLbl"), hint);
        const auto colour = [&] {
            return control<QLabel>(main.window.get(), "messageLbl")
                ->palette()
                .color(QPalette::WindowText);
        };
        EXPECT_NE(colour(), errorColour) << "the hint is no error";
        // A message that matters takes the line; the hint comes back after.
        main.type(joist::Input::span, "");
        EXPECT_TRUE(main.label("messageLbl").startsWith("Results out of date"));
        EXPECT_EQ(colour(), errorColour);
        main.type(joist::Input::span, "4");
        EXPECT_EQ(main.label("messageLbl"), hint);
    }
    EXPECT_FALSE(QFileInfo::exists(document::programSettingsPath()))
        << "written without the menu used";
    {
        MainWindowDriver main;
        main.start();
        EXPECT_EQ(main.label("messageLbl"), hint);
        QTimer::singleShot(0, [] {
            if (QWidget* menu = QApplication::activePopupWidget())
                menu->close();
        });
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5),
                                     main.window->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(main.window.get(), &rightClick);
        EXPECT_EQ(main.label("messageLbl"), "");
    }
    MainWindowDriver later;
    later.start();
    EXPECT_EQ(later.label("messageLbl"), "");
}

TEST(ShortcutsWindow, ListsEveryActionOfTheMenuWithItsShortcut)
{
    MainWindowDriver main;
    main.start();
    main.window->findChild<QAction*>("shortcutsAct")->trigger();
    auto* window = main.window->findChild<QDialog*>("shortcutsWindow");
    ASSERT_TRUE(window && window->isVisible());
    auto* table = window->findChild<QTableWidget*>("shortcutsTbl");
    QStringList listed;
    for (int row = 0; row < table->rowCount(); ++row)
        listed << table->item(row, 0)->text() + " " + table->item(row, 1)->text();
    QStringList menu;
    for (const QAction* action : main.window->actions()) {
        if (!action->isSeparator())
            menu << action->text().remove("...") + " " +
                        action->shortcut().toString(QKeySequence::NativeText);
    }
    EXPECT_EQ(listed, menu);
    EXPECT_TRUE(listed.contains("Timber Joist Manual F1"));
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST(AboutWindow, NamesVersionLicenceTheTableInUseAndTheLibraries)
{
    MainWindowDriver main;
    main.start();
    main.window->findChild<QAction*>("aboutAct")->trigger();
    auto* window = main.window->findChild<QDialog*>("aboutWindow");
    ASSERT_TRUE(window && window->isVisible());
    QFile table(JOIST_SHIPPED_DATABASE);
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    const QString digest =
        QCryptographicHash::hash(table.readAll(), QCryptographicHash::Sha256).toHex();
    const QString text = windowText(window);
    for (const QString& fact :
         {QStringLiteral("Version " JOIST_VERSION), QStringLiteral("MIT licence"),
          QStringLiteral(JOIST_SHIPPED_DATABASE), QStringLiteral("EN 338:2003, Table 1"), digest,
          QString::fromLatin1(qVersion()), QString::fromLatin1(sqlite3_libversion())})
        EXPECT_TRUE(text.contains(fact)) << fact.toStdString() << " not in\n" << text.toStdString();
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

// A shipped table other than ZU5ZO.mdb is named by its own edition.
TEST(AboutWindow, NamesTheEditionOfTheTableTheBasisChooses)
{
    MainWindowDriver main;
    main.start();
    main.window->findChild<QAction*>("designBasisAct")->trigger();
    auto* table = main.window->designBasisWindow()->findChild<QComboBox*>("tableCmb");
    ASSERT_TRUE(table);
    table->setCurrentIndex(int(joist::TableChoice::en14080));
    main.window->findChild<QAction*>("aboutAct")->trigger();
    auto* window = main.window->findChild<QDialog*>("aboutWindow");
    ASSERT_TRUE(window);
    const QString text = windowText(window);
    EXPECT_TRUE(text.contains("EN14080.mdb") && text.contains("EN 14080:2013 (a table shipped"))
        << text.toStdString();
}

// The manual (F1) beside the program is handed to the desktop's opener without
// waiting for it; where the opener finds no browser, or there is none (and
// no other on PATH for Qt to try), the manual opens in a window of the
// program's own.
TEST(Manual, F1OpensTheManualBesideTheProgram)
{
    MainWindowDriver main;
    main.start();
    QTemporaryDir folder;
    const QString handed = folder.filePath("handed");
    const struct
    {
        const char* opener; // the script's last line; none: no opener on PATH
        bool ownWindow;
    } cases[] = {{"exit 0", false}, {"exit 3", true}, {nullptr, true}};
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(folder.path()));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.opener ? c.opener : "no opener");
        QFile script(folder.filePath("xdg-open"));
        script.remove();
        if (c.opener) {
            ASSERT_TRUE(script.open(QIODevice::WriteOnly));
            script.write("#!/bin/sh\necho \"$1\" > '" + handed.toUtf8() + "'\n" + c.opener + "\n");
            script.close();
            script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        main.window->findChild<QAction*>("helpAct")->trigger();
        auto* window = main.window->findChild<QDialog*>("manualWindow");
        const bool shownAtOnce = window && window->isVisible();
        // Done when the opener has ended and its process is gone.
        QTRY_VERIFY(!main.window->findChild<QProcess*>());
        window = main.window->findChild<QDialog*>("manualWindow");
        EXPECT_EQ(window && window->isVisible(), c.ownWindow);
        if (c.opener) {
            EXPECT_FALSE(shownAtOnce) << "the window waited for the opener";
            QFile argument(handed);
            ASSERT_TRUE(argument.open(QIODevice::ReadOnly));
            QFile manual(QString::fromLocal8Bit(argument.readAll()).trimmed());
            EXPECT_EQ(QFileInfo(manual).absolutePath(),
                      QFileInfo(QString::fromStdString(testing::shippedDirectory().string()))
                          .absoluteFilePath());
            ASSERT_TRUE(manual.open(QIODevice::ReadOnly));
            EXPECT_TRUE(manual.readAll().contains("<H2>EXIT STATUS</H2>"));
        }
        if (window && c.ownWindow) {
            EXPECT_TRUE(window->findChild<QTextBrowser*>()->toPlainText().contains("EXIT STATUS"));
            window->hide();
        }
    }
    qputenv("PATH", path);
}

} // namespace
} // namespace ui
