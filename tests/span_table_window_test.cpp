#include <cmath>
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QTableWidget>
#include <QTest>

#include "report/design_basis_texts.h"
#include "tests/engine_fixtures.h"
#include "ui/span_table_window.h"

namespace ui {
namespace {

const float breadths[] = {36, 44, 75};
const float depths[] = {100, 115, 125, 150, 175, 200, 225};
const float spacings[] = {200, 300, 400, 450, 500, 550, 600};

class SpanTableWindow : public ::testing::Test
{
protected:
    void SetUp() override { show(); }
    void show()
    {
        window.showTable(report::spanTableTexts(inputs, "C16", breadths, depths, spacings, ","));
    }

    QTableWidget* table() const { return window.findChild<QTableWidget*>("spanTbl"); }
    QLabel* message() const { return window.findChild<QLabel*>("messageLbl"); }
    QLabel* legend() const { return window.findChild<QLabel*>("legendLbl"); }
    QTableWidgetItem* cell(int row, int column) const { return table()->item(row, column); }

    // The start inputs: 44 x 225 (row 13) at 300 mm (column 1).
    joist::JoistDesign inputs = joist::testing::startExample();
    FrmSpanTable window;
};

TEST_F(SpanTableWindow, ShowsEverySectionAtEverySpacingUnderItsCaption)
{
    EXPECT_EQ(window.objectName(), "frmSpanTable");
    EXPECT_EQ(window.windowTitle(), "Span table: C16, dead 0,4 kN/m\u00B2, live 1,5 kN/m\u00B2, "
                                    "bearing length 50 mm (longest spans in m)");
    ASSERT_EQ(table()->rowCount(), 21);
    ASSERT_EQ(table()->columnCount(), 7);
    EXPECT_EQ(table()->verticalHeaderItem(0)->text(), "36 x 100");
    EXPECT_EQ(table()->verticalHeaderItem(7)->text(), "44 x 100");
    EXPECT_EQ(table()->verticalHeaderItem(20)->text(), "75 x 225");
    EXPECT_EQ(table()->horizontalHeaderItem(0)->text(), "200");
    EXPECT_EQ(table()->horizontalHeaderItem(6)->text(), "600");
    EXPECT_EQ(table()->editTriggers(), QAbstractItemView::NoEditTriggers);
}

// The start inputs span 5.339 m, and net deflection stops 5.340 m. The mark
// is drawn apart from the span, so the cell's text is the span alone.
TEST_F(SpanTableWindow, MarksWhatGovernsEachCellAndExplainsTheMarksInForce)
{
    const QString mark(QChar::fromLatin1(joist::definitionOf(joist::Check::uNetFin).mark));
    EXPECT_EQ(cell(13, 1)->text(), "5,33");
    EXPECT_EQ(cell(13, 1)->data(Qt::AccessibleTextRole), "5,33 (" + mark + ")");
    EXPECT_EQ(cell(13, 1)->toolTip(), "5,33 m, governed by u net,fin at 5,34 m");
    EXPECT_TRUE(legend()->text().contains(mark + " = u net,fin"));

    inputs.basis.vibration = true;
    show();
    EXPECT_TRUE(legend()->text().endsWith(" = vibration"));
}

// The title bar may cut a long caption; the window shows it whole, with
// the floor the vibration cells depend on.
TEST_F(SpanTableWindow, ShowsTheWholeCaptionAboveTheTable)
{
    inputs.basis.vibration = true;
    inputs.basis.floorWidth = 3.5f;
    show();
    const QString caption = window.findChild<QLabel*>("captionLbl")->text();
    EXPECT_TRUE(caption.startsWith(window.windowTitle().chopped(1))) << caption.toStdString();
    for (const char* key : {"floorWidth", "deckThickness"}) // changed, and as it was
        EXPECT_TRUE(caption.contains(
            QString::fromUtf8(report::basisStatement(joist::basisField(key), inputs.basis, ","))))
            << caption.toStdString();
}

TEST_F(SpanTableWindow, HighlightsTheCurrentSectionAndSpacingOnly)
{
    EXPECT_TRUE(cell(13, 1)->font().bold());
    EXPECT_TRUE(cell(13, 1)->data(Qt::BackgroundRole).isValid());
    EXPECT_FALSE(cell(13, 2)->font().bold());
    EXPECT_FALSE(cell(12, 1)->data(Qt::BackgroundRole).isValid());

    inputs.breadth = 75;
    inputs.spacing = 600;
    show();
    EXPECT_FALSE(cell(13, 1)->font().bold());
    EXPECT_TRUE(cell(20, 6)->font().bold());
}

TEST_F(SpanTableWindow, OutOfDateCellsAreStaleSayWhyAndAreNotCopied)
{
    window.show();
    table()->setFocus();
    const QString reason = "Results out of date: g m is 0.";
    window.markOutOfDate(reason);
    EXPECT_TRUE(message()->isVisible());
    EXPECT_EQ(message()->text(), reason);
    // Drawn as the main window draws stale results: readable, 4.5:1 at least.
    EXPECT_TRUE(cell(0, 0)->font().italic());
    const QColor text = cell(0, 0)->foreground().color();
    const QColor ground = table()->palette().color(QPalette::Base);
    auto luminance = [](QColor c) {
        auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double lighter = std::max(luminance(text), luminance(ground));
    const double darker = std::min(luminance(text), luminance(ground));
    EXPECT_GE((lighter + 0.05) / (darker + 0.05), 4.5);

    QApplication::clipboard()->setText("kept");
    QTest::keyClick(table(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "kept");
    auto* box = window.findChild<QMessageBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), reason);
    delete box;

    show();
    EXPECT_FALSE(message()->isVisible());
    EXPECT_FALSE(cell(0, 0)->data(Qt::ForegroundRole).isValid());
    EXPECT_FALSE(cell(0, 0)->font().italic());
}

TEST_F(SpanTableWindow, CtrlCCopiesTheSelectionOrTheWholeTable)
{
    window.show();
    table()->setFocus();
    table()->setRangeSelected(QTableWidgetSelectionRange(13, 0, 14, 1), true);
    QTest::keyClick(table(), Qt::Key_C, Qt::ControlModifier);
    // The spans alone, without the marks beside them.
    auto span = [this](int row, int column) { return cell(row, column)->text(); };
    const QString expected = window.windowTitle() + "\n" + span(13, 0) + "\t" + span(13, 1) + "\n" +
                             span(14, 0) + "\t" + span(14, 1) + "\n";
    EXPECT_EQ(QApplication::clipboard()->text(), expected);

    table()->clearSelection();
    QTest::keyClick(table(), Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 23);
    EXPECT_EQ(lines[0], window.windowTitle());
    EXPECT_EQ(lines[1], "Section, mm\t200\t300\t400\t450\t500\t550\t600");
    EXPECT_TRUE(lines[15].startsWith("44 x 225\t"));
    EXPECT_EQ(lines[15].split('\t')[2], "5,33");
}

} // namespace
} // namespace ui
