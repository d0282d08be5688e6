#include "ui/span_table_window.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "io/display_text.h"
#include "ui/error_message.h"
#include "ui/stale_style.h"

namespace ui {
namespace {

// Where a cell keeps its span alone, for Copy.
constexpr int spanRole = Qt::UserRole;

} // namespace

FrmSpanTable::FrmSpanTable(QWidget* parent)
    : QWidget(parent, Qt::Window), table_(new QTableWidget(this)), legendLbl_(new QLabel(this)),
      messageLbl_(new QLabel(this))
{
    setObjectName(QStringLiteral("frmSpanTable"));
    setWindowTitle(QStringLiteral("Span table"));

    table_->setObjectName(QStringLiteral("spanTbl"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    table_->installEventFilter(this);

    auto* axes = new QLabel(
        QStringLiteral("Rows: section width x depth, mm. Columns: joist spacing, mm."), this);
    axes->setObjectName(QStringLiteral("axesLbl"));

    legendLbl_->setObjectName(QStringLiteral("legendLbl"));
    legendLbl_->setWordWrap(true);
    legendLbl_->setTextFormat(Qt::PlainText);

    messageLbl_->setObjectName(QStringLiteral("messageLbl"));
    messageLbl_->setWordWrap(true);
    messageLbl_->setTextFormat(Qt::PlainText); // carries class names from the file
    showInErrorColour(messageLbl_);
    messageLbl_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(axes);
    layout->addWidget(table_);
    layout->addWidget(legendLbl_);
    layout->addWidget(messageLbl_);

    auto* close = new QAction(QStringLiteral("Close"), this);
    close->setShortcuts({QKeySequence::Close, QKeySequence(Qt::Key_Escape)});
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);

    resize(560, 560);
}

void FrmSpanTable::showTable(const SpanTableTexts& spans)
{
    caption_ = spans.caption;
    setWindowTitle(io::displayText(spans.caption, io::DisplayUse::windowTitle));
    const auto rows = static_cast<int>(spans.rowHeadings.size());
    const auto columns = static_cast<int>(spans.columnHeadings.size());
    table_->setRowCount(rows);
    table_->setColumnCount(columns);
    table_->setVerticalHeaderLabels(spans.rowHeadings);
    table_->setHorizontalHeaderLabels(spans.columnHeadings);
    highlightedRow_ = spans.highlightedRow;
    highlightedColumn_ = spans.highlightedColumn;

    // A tint of the selection colour, readable in light and dark themes.
    QColor highlight = palette().color(QPalette::Highlight);
    highlight.setAlpha(80);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            QTableWidgetItem* item = table_->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                table_->setItem(row, column, item);
            }
            item->setText(markedCell(spans, std::size_t(row), column));
            item->setData(spanRole, spans.cells[std::size_t(row)][column]);
            item->setToolTip(spans.tooltips.size() > std::size_t(row)
                                 ? spans.tooltips[std::size_t(row)].value(column)
                                 : QString());
            const bool highlighted = row == highlightedRow_ && column == highlightedColumn_;
            QFont font = item->font();
            font.setBold(highlighted);
            item->setFont(font);
            item->setData(Qt::BackgroundRole, highlighted ? QVariant(highlight) : QVariant());
        }
    }
    for (int row = 0; row < rows; ++row) {
        QFont font = table_->verticalHeaderItem(row)->font();
        font.setBold(row == highlightedRow_);
        table_->verticalHeaderItem(row)->setFont(font);
    }
    for (int column = 0; column < columns; ++column) {
        QFont font = table_->horizontalHeaderItem(column)->font();
        font.setBold(column == highlightedColumn_);
        table_->horizontalHeaderItem(column)->setFont(font);
    }
    legendLbl_->setText(spans.legend);
    outOfDate_.clear();
    setCurrent(true);
    messageLbl_->clear();
    messageLbl_->hide();
}

void FrmSpanTable::markOutOfDate(const QString& reason)
{
    outOfDate_ = io::displayText(reason.isEmpty() ? QStringLiteral("Results out of date.") : reason,
                                 io::DisplayUse::message);
    setCurrent(false);
    messageLbl_->setText(outOfDate_);
    messageLbl_->show();
}

void FrmSpanTable::setCurrent(bool current)
{
    const QVariant foreground = current ? QVariant() : QVariant(staleTextColor());
    for (int row = 0; row < table_->rowCount(); ++row) {
        for (int column = 0; column < table_->columnCount(); ++column) {
            if (QTableWidgetItem* item = table_->item(row, column)) {
                item->setData(Qt::ForegroundRole, foreground);
                QFont font = item->font();
                font.setItalic(!current);
                item->setFont(font);
            }
        }
    }
}

QString FrmSpanTable::copyText() const
{
    QStringList lines{caption_};
    const QList<QTableWidgetSelectionRange> ranges = table_->selectedRanges();
    if (ranges.isEmpty()) {
        QStringList header{QStringLiteral("Section, mm")};
        for (int column = 0; column < table_->columnCount(); ++column)
            header << table_->horizontalHeaderItem(column)->text();
        lines << header.join(QLatin1Char('\t'));
        for (int row = 0; row < table_->rowCount(); ++row) {
            QStringList cells{table_->verticalHeaderItem(row)->text()};
            for (int column = 0; column < table_->columnCount(); ++column)
                cells << table_->item(row, column)->data(spanRole).toString();
            lines << cells.join(QLatin1Char('\t'));
        }
        return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }
    int top = table_->rowCount(), bottom = -1, left = table_->columnCount(), right = -1;
    for (const QTableWidgetSelectionRange& range : ranges) {
        top = std::min(top, range.topRow());
        bottom = std::max(bottom, range.bottomRow());
        left = std::min(left, range.leftColumn());
        right = std::max(right, range.rightColumn());
    }
    for (int row = top; row <= bottom; ++row) {
        QStringList cells;
        for (int column = left; column <= right; ++column) {
            const QTableWidgetItem* item = table_->item(row, column);
            cells << (item && item->isSelected() ? item->data(spanRole).toString() : QString());
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

// The table's own Ctrl+C copies only the current cell.
bool FrmSpanTable::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == table_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        copy();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// Stale figures never leave the window, as with the calculation sheet.
void FrmSpanTable::copy()
{
    if (outOfDate_.isEmpty()) {
        QApplication::clipboard()->setText(copyText());
        return;
    }
    plainMessageBox(QMessageBox::Warning, QStringLiteral("Copy Span Table"), outOfDate_, this);
}

} // namespace ui
