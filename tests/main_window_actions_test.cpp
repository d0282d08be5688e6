// The main window's actions as the user meets them: the design aids in the
// verdict's tooltip, the span table window, and the calculation sheet taken
// from what the screen shows.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "engine/design_aids.h"
#include "engine/design_inputs.h"
#include "tests/main_window_fixtures.h"
#include "tests/materials_fixtures.h"
#include "tests/sheet_fixtures.h"
#include "ui/input_table.h"
#include "ui/material_data_window.h"
#include "ui/span_table_window.h"

namespace ui {
namespace {

using testing::MainWindowDriver;
using testing::takeMessage;

QString verdictToolTip(const MainWindowDriver& main)
{
    return testing::hoverToolTip(main.controls().governedByLbl);
}

class InLocale : public ::testing::TestWithParam<const char*>
{
protected:
    QLocale locale() const
    {
        return GetParam() == std::string(",") ? QLocale(QLocale::German, QLocale::Germany)
                                              : QLocale::c();
    }
    QString local(QString text) const { return text.replace('.', QString(GetParam())); }
};

TEST_P(InLocale, VerdictTooltipEndsWithTheAidsWhileResultsAreCurrent)
{
    MainWindowDriver main(testing::shippedDirectory(), locale());
    main.start();
    EXPECT_TRUE(verdictToolTip(main).endsWith(local("\nLongest span that passes: 5.339 m\n") +
                                              "Lightest listed section that passes: 36 x 200 mm"))
        << verdictToolTip(main).toStdString();
    main.type(joist::Input::span, "x");
    EXPECT_FALSE(verdictToolTip(main).contains("Longest span"));
    main.type(joist::Input::span, "4");
    // Worked out again for new inputs.
    main.pick(joist::Input::kmod, local("1.0"));
    const joist::JoistDesign& now = main.window->design();
    const std::vector<float> breadths = listValues(joist::Input::breadth);
    const std::vector<float> depths = listValues(joist::Input::depth);
    EXPECT_TRUE(verdictToolTip(main).endsWith(QString::fromUtf8(joist::lightestSectionText(
        joist::findLightestSection(now, breadths, depths), GetParam()))));
    // The sheet works the aids out first: the tooltip still carries them.
    main.type(joist::Input::span, "5");
    main.window->copyCalculation();
    EXPECT_TRUE(verdictToolTip(main).contains("Longest span that passes"));
}

TEST_P(InLocale, SheetHoldsWhatTheScreenShows)
{
    MainWindowDriver main(testing::shippedDirectory(), locale());
    main.start();
    main.type(joist::Input::span, local("4.5"));
    main.pickClass("C24");
    QStringList screen;
    for (const joist::InputFacts& row : joist::inputFacts()) {
        // Material values stand under their symbols, the other inputs under
        // their captions.
        if (row.field.empty())
            screen << QString::fromUtf8(std::string(row.caption));
        screen << [&] {
            if (row.entry == joist::InputEntry::typed)
                return main.box(row.input)->text();
            if (row.entry == joist::InputEntry::list)
                return main.list(row.input)->selectedText();
            return main.label(ui::inputView(row.input).name);
        }();
    }
    screen << main.results() << main.label("SCLbl") << main.label("fc0kLbl");

    QTemporaryDir dir;
    const QString path = dir.filePath("sheet.pdf");
    main.window->saveCalculationTo(path);
    ASSERT_TRUE(QFile::exists(path)) << takeMessage(main).toStdString();
    const QString pdf = testing::withoutSpaces(testing::pdfText(path));
    main.window->findChild<QAction*>("copyCalcAct")->trigger();
    const QString copied = QApplication::clipboard()->mimeData()->text();
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasHtml());
    for (const QString& text : screen) {
        EXPECT_TRUE(pdf.contains(testing::withoutSpaces(text))) << text.toStdString();
        EXPECT_TRUE(copied.contains(text)) << text.toStdString();
    }
    for (const QString& aid : main.window->designAidLines())
        EXPECT_TRUE(copied.contains(aid.section(": ", 1))) << aid.toStdString();

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("printed.pdf"));
    main.window->printCalculationOn(printer);
    EXPECT_TRUE(testing::pdfText(dir.filePath("printed.pdf")).contains(main.results().last()));
}

INSTANTIATE_TEST_SUITE_P(Separators, InLocale, ::testing::Values(".", ","));

TEST(SheetActions, RefuseWhileResultsAreOutOfDateAndWriteNothing)
{
    MainWindowDriver main;
    main.start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.window.get())); // for the shortcuts
    QApplication::clipboard()->setText("kept");
    main.type(joist::Input::span, "0");
    const QString reason = main.label("messageLbl");
    QTemporaryDir dir;
    const QString path = dir.filePath("sheet.pdf");
    main.window->saveCalculationTo(path);
    EXPECT_EQ(takeMessage(main), reason);
    EXPECT_FALSE(QFile::exists(path));
    QTest::keyClick(main.box(joist::Input::span), Qt::Key_C,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(takeMessage(main), reason);
    EXPECT_EQ(QApplication::clipboard()->text(), "kept");

    // A failed write names the path and leaves nothing.
    main.type(joist::Input::span, "4");
    main.window->saveCalculationTo(dir.path());
    EXPECT_TRUE(takeMessage(main).contains(dir.path()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 0);

    // Printing never writes a file of its own: with no printer it points to
    // Save as PDF, and the print dialog offers no file.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        main.window->findChild<QAction*>("printCalcAct")->trigger();
        EXPECT_TRUE(takeMessage(main).contains("Export Calculation as PDF"));
    }
}

// Qt's file dialog reads double quotes as a list of names and would save
// "calc.pdf": such a name is refused, nothing written, and the dialog comes
// back with the name; a whole path is written where it says.
TEST(SheetActions, ExportRefusesANameItWouldMisreadAndAsksAgain)
{
    MainWindowDriver main;
    main.start();
    QTemporaryDir dir, elsewhere;
    const QString quoted = "my \"calc\" sheet.pdf";
    QString refusal, shownAgain;
    int step = 0;
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        auto* box = qobject_cast<QMessageBox*>(modal);
        auto* name = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
        if (step == 0 && name) {
            dialog->setDirectory(dir.path());
            name->setText(quoted);
            ++step;
            QTest::keyClick(name, Qt::Key_Return);
        } else if (step == 1 && box) {
            refusal = box->text();
            ++step;
            box->accept();
        } else if (step == 2 && name) {
            shownAgain = name->text();
            name->setText(elsewhere.filePath("whole path.pdf"));
            ++step;
            QTest::keyClick(name, Qt::Key_Return);
        }
    });
    driver.start(20);
    main.window->findChild<QAction*>("pdfCalcAct")->trigger();
    driver.stop();
    EXPECT_TRUE(refusal.contains("double quotes")) << refusal.toStdString();
    EXPECT_EQ(shownAgain, quoted);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    EXPECT_TRUE(QFile::exists(elsewhere.filePath("whole path.pdf")));

    // A design kept in a file proposes its sheet beside it, under its name.
    ASSERT_TRUE(main.window->saveDesignTo(dir.filePath("bed1-J1.joist")));
    QString proposed;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        proposed = QDir(dialog->directory())
                       .filePath(dialog->findChild<QLineEdit*>("fileNameEdit")->text());
        dialog->reject();
    });
    main.window->findChild<QAction*>("pdfCalcAct")->trigger();
    EXPECT_EQ(proposed, dir.filePath("bed1-J1.pdf"));
}

TEST(SpanTableWindow, OpensOnceWithCtrlTAndFollowsTheMainWindow)
{
    MainWindowDriver main;
    main.start();
    const QStringList menu = [&] {
        QStringList texts;
        for (QAction* action : main.window->actions())
            texts << action->text();
        return texts;
    }();
    EXPECT_EQ(menu, (QStringList{"New Design", "Open Design...", "Open Recent", "Save Design",
                                 "Save Design As...", "", "Span Table...", "Design Basis...",
                                 "Sheet Details...", "Copy Calculation", "Print Calculation...",
                                 "Export Calculation as PDF...", "", "Timber Joist Manual",
                                 "Keyboard Shortcuts", "About Timber Joist"}));
    EXPECT_EQ(main.window->contextMenuPolicy(), Qt::ActionsContextMenu);
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.window.get())); // for the shortcuts

    QTest::keyClick(main.list(joist::Input::depth), Qt::Key_T, Qt::ControlModifier);
    FrmSpanTable* spans = main.window->spanTableWindow();
    ASSERT_TRUE(spans && spans->isVisible());
    QTest::keyClick(main.box(joist::Input::span), Qt::Key_T, Qt::ControlModifier);
    EXPECT_EQ(main.window->findChildren<FrmSpanTable*>().size(), 1);
    EXPECT_EQ(spans->windowTitle(),
              "Span table: C16, dead 0.4 kN/m\u00B2, live 1.5 kN/m\u00B2, bearing length 50 mm "
              "(longest spans in m)");
    auto* table = spans->findChild<QTableWidget*>("spanTbl");
    EXPECT_TRUE(table->item(13, 1)->font().bold()); // 44 x 225 at 300

    main.pick(joist::Input::depth, "200");
    main.type(joist::Input::deadLoad, "0.5");
    EXPECT_TRUE(table->item(12, 1)->font().bold());
    EXPECT_TRUE(spans->windowTitle().contains("dead 0.5 kN/m\u00B2"));

    main.type(joist::Input::deadLoad, "");
    EXPECT_EQ(spans->findChild<QLabel*>("messageLbl")->text(), main.label("messageLbl"));
    EXPECT_TRUE(table->item(0, 0)->data(Qt::ForegroundRole).isValid());
}

TEST(MaterialWindow, SaysWhenTheFileNoLongerHoldsWhatTheResultsUse)
{
    using namespace materials::testing;
    TemporaryDirectory directory;
    makeTable(directory, createSheet + ";" + classRows({"C16", "C24"}));
    MainWindowDriver main(directory.path());
    main.start();
    std::filesystem::remove(directory.file("ZU5ZO.mdb"));
    makeTable(directory, createSheet + ";" + classRows({"C16", "C18"}));
    control<QPushButton>(main.window.get(), "showDBdataBtn")->click();
    const QString message =
        control<QLabel>(main.window->materialDataWindow(), "messageLbl")->text();
    EXPECT_TRUE(message.contains("has changed since the program read it")) << message.toStdString();
}

// Damage inside a page keeps the file's length, so nothing but its digest
// tells it from the shipped table; the shipped table gets no notice.
TEST(ModifiedTable, IsNamedInTheMaterialWindowAndOnTheSheet)
{
    const QString notice = "modified table: values may differ from EN 338:2003";
    materials::testing::TemporaryDirectory directory;
    std::string bytes = materials::testing::readFile(JOIST_SHIPPED_DATABASE);
    bytes.replace(bytes.size() - 8, 8, 8, '\0');
    materials::testing::writeFile(directory.file("ZU5ZO.mdb"), bytes);
    for (const auto& [folder, modified] :
         {std::pair(testing::shippedDirectory(), false), std::pair(directory.path(), true)}) {
        MainWindowDriver main(folder);
        main.start();
        control<QPushButton>(main.window.get(), "showDBdataBtn")->click();
        EXPECT_EQ(control<QLabel>(main.window->materialDataWindow(), "messageLbl")->text(),
                  modified ? notice : QString());
        main.window->findChild<QAction*>("copyCalcAct")->trigger();
        const QString copied = QApplication::clipboard()->mimeData()->text();
        EXPECT_EQ(copied.contains("(" + notice + ")"), modified) << copied.toStdString();
        EXPECT_EQ(copied.contains("(EN 338:2003, Table 1)"), !modified);
    }
}

// X11's line-edit key bindings (Ctrl+E to the end of the line, Ctrl+D to
// delete) apply only on the xcb platform: run there by the
// ShortcutsWinInAnXServer test.
TEST(Shortcuts, EveryActionsShortcutWorksFromEveryTextBox)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "X11 key bindings apply only on the xcb platform";
    MainWindowDriver main;
    main.start();
    main.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.window.get()));
    for (QAction* action : main.window->actions()) {
        if (action->shortcut().isEmpty())
            continue;
        action->disconnect(); // only whether it fires, not what it opens
        for (QLineEdit* box : main.window->findChildren<QLineEdit*>()) {
            SCOPED_TRACE(action->objectName().toStdString() + " from " +
                         box->objectName().toStdString());
            box->setFocus();
            QSignalSpy fired(action, &QAction::triggered);
            QTest::keySequence(box, action->shortcut());
            EXPECT_EQ(fired.count(), 1);
        }
    }
}

} // namespace
} // namespace ui
