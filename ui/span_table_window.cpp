#include "ui/span_table_window.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "io/display_text.h"
#include "ui/error_message.h"
#include "ui/stale_style.h"

namespace ui {
namespace {

// Where a cell keeps the mark of the check that governs it; its text is the
// span alone, which Copy takes.
constexpr int markRole = Qt::UserRole;

// Draws a cell's span with its mark raised and smaller after it, in a place
// every cell keeps, so the spans line up and a mark never reads as a digit.
class MarkedSpanDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QString span = opt.text;
        opt.text.clear();
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

        const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
        const QFont small = markFont(opt.font);
        const int place = markPlace(small);
        const QPalette::ColorGroup group =
            opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        painter->save();
        painter->setPen(opt.palette.color(group, opt.state & QStyle::State_Selected
                                                     ? QPalette::HighlightedText
                                                     : QPalette::Text));
        painter->setFont(opt.font);
        const QRect spanRect = text.adjusted(0, 0, -place, 0);
        painter->drawText(spanRect, Qt::AlignRight | Qt::AlignVCenter, span);
        const QString mark = index.data(markRole).toString();
        if (!mark.isEmpty()) {
            // Raised: the mark's top level with the top of the span's digits.
            const QFontMetrics big(opt.font);
            const int baseline = spanRect.top() +
                                 (spanRect.height() - big.ascent() - big.descent()) / 2 +
                                 big.ascent();
            painter->setFont(small);
            painter->drawText(QPoint(spanRect.right() + 3,
                                     baseline - big.capHeight() + QFontMetrics(small).capHeight()),
                              mark);
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        return {size.width() + markPlace(markFont(option.font)), size.height()};
    }

private:
    static QFont markFont(QFont font)
    {
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * 0.75);
        else
            font.setPixelSize(std::max(6, font.pixelSize() * 3 / 4));
        font.setBold(false);
        return font;
    }

    // Room for the widest mark and the gap before it.
    static int markPlace(const QFont& small)
    {
        return QFontMetrics(small).horizontalAdvance(QLatin1Char('W')) + 3;
    }
};

} // namespace

FrmSpanTable::FrmSpanTable(QWidget* parent)
    : QWidget(parent, Qt::Window), table_(new QTableWidget(this)), captionLbl_(new QLabel(this)),
      legendLbl_(new QLabel(this)), messageLbl_(new QLabel(this))
{
    setObjectName(QStringLiteral("frmSpanTable"));
    setWindowTitle(QStringLiteral("Span table"));

    table_->setObjectName(QStringLiteral("spanTbl"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    table_->setItemDelegate(new MarkedSpanDelegate(table_));
    table_->installEventFilter(this);

    auto* axes = new QLabel(
        QStringLiteral("Rows: section width x depth, mm. Columns: joist spacing, mm."), this);
    axes->setObjectName(QStringLiteral("axesLbl"));

    captionLbl_->setObjectName(QStringLiteral("captionLbl"));
    captionLbl_->setWordWrap(true);
    captionLbl_->setTextFormat(Qt::PlainText); // carries the class name from the file
    QFont bold = captionLbl_->font();
    bold.setBold(true);
    captionLbl_->setFont(bold);

    legendLbl_->setObjectName(QStringLiteral("legendLbl"));
    legendLbl_->setWordWrap(true);
    legendLbl_->setTextFormat(Qt::PlainText);

    messageLbl_->setObjectName(QStringLiteral("messageLbl"));
    messageLbl_->setWordWrap(true);
    messageLbl_->setTextFormat(Qt::PlainText); // carries class names from the file
    showInErrorColour(messageLbl_);
    messageLbl_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(captionLbl_);
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

void FrmSpanTable::showTable(const report::SpanTableTexts& spans)
{
    caption_ = spans.caption;
    setWindowTitle(io::displayText(spans.caption, io::DisplayUse::windowTitle));
    captionLbl_->setText(io::displayText(spans.caption, io::DisplayUse::message));
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
            item->setText(spans.cells[std::size_t(row)][column]);
            item->setData(markRole, spans.marks.size() > std::size_t(row)
                                        ? spans.marks[std::size_t(row)].value(column)
                                        : QString());
            item->setData(Qt::AccessibleTextRole,
                          report::markedCell(spans, std::size_t(row), column));
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
                cells << table_->item(row, column)->text();
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
            cells << (item && item->isSelected() ? item->text() : QString());
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
