#include "ui/span_table_window.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "engine/design_aids.h"
#include "engine/number_text.h"

namespace ui {
namespace {

const QString untitled = QStringLiteral("Span table");

QString text(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

FrmSpanTable::FrmSpanTable(std::string decimalSeparator, QWidget* parent)
    : QWidget(parent, Qt::Window), decimalSeparator_(std::move(decimalSeparator)),
      table_(new QTableWidget(this)), messageLbl_(new QLabel(this))
{
    setObjectName(QStringLiteral("frmSpanTable"));
    setWindowTitle(untitled);

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

    messageLbl_->setObjectName(QStringLiteral("messageLbl"));
    messageLbl_->setWordWrap(true);
    QPalette messagePalette = messageLbl_->palette();
    messagePalette.setColor(QPalette::WindowText, QColor(0xc0, 0, 0));
    messageLbl_->setPalette(messagePalette);
    messageLbl_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(axes);
    layout->addWidget(table_);
    layout->addWidget(messageLbl_);

    auto* close = new QAction(QStringLiteral("Close"), this);
    close->setShortcuts({QKeySequence::Close, QKeySequence(Qt::Key_Escape)});
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);

    resize(560, 560);
}

void FrmSpanTable::showTable(const joist::JoistDesign& inputs, const QString& strengthClass,
                             std::span<const float> breadths, std::span<const float> depths,
                             std::span<const float> spacings)
{
    const joist::SpanTable spans = joist::computeSpanTable(inputs, breadths, depths, spacings);
    setWindowTitle(QStringLiteral("Span table: %1, dead %2 kN/m2, live %3 kN/m2 (longest spans "
                                  "in m)")
                       .arg(strengthClass,
                            text(joist::generalText(inputs.deadLoad, decimalSeparator_)),
                            text(joist::generalText(inputs.liveLoad, decimalSeparator_))));

    const auto rows = static_cast<int>(spans.sections.size());
    const auto columns = static_cast<int>(spans.spacings.size());
    table_->setRowCount(rows);
    table_->setColumnCount(columns);
    QStringList sectionLabels;
    for (const joist::Section& section : spans.sections)
        sectionLabels << text(joist::sectionText(section, decimalSeparator_));
    table_->setVerticalHeaderLabels(sectionLabels);
    QStringList spacingLabels;
    for (const float spacing : spans.spacings)
        spacingLabels << text(joist::generalText(spacing, decimalSeparator_));
    table_->setHorizontalHeaderLabels(spacingLabels);

    highlightedRow_ = highlightedColumn_ = -1;
    for (int row = 0; row < rows; ++row) {
        const joist::Section& section = spans.sections[static_cast<std::size_t>(row)];
        if (section == joist::Section{inputs.breadth, inputs.depth} && highlightedRow_ < 0)
            highlightedRow_ = row;
    }
    for (int column = 0; column < columns; ++column) {
        if (spans.spacings[static_cast<std::size_t>(column)] == inputs.spacing &&
            highlightedColumn_ < 0)
            highlightedColumn_ = column;
    }

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
            item->setText(text(joist::spanTableCellText(
                spans.cell(static_cast<std::size_t>(row), static_cast<std::size_t>(column)),
                decimalSeparator_)));
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
    setCurrent(true);
    messageLbl_->clear();
    messageLbl_->hide();
}

void FrmSpanTable::markOutOfDate(const QString& reason)
{
    setCurrent(false);
    messageLbl_->setText(reason);
    messageLbl_->show();
}

void FrmSpanTable::setCurrent(bool current)
{
    const QVariant foreground =
        current ? QVariant() : QVariant(palette().color(QPalette::Disabled, QPalette::Text));
    for (int row = 0; row < table_->rowCount(); ++row) {
        for (int column = 0; column < table_->columnCount(); ++column) {
            if (QTableWidgetItem* item = table_->item(row, column))
                item->setData(Qt::ForegroundRole, foreground);
        }
    }
}

QString FrmSpanTable::copyText() const
{
    QStringList lines;
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
        QApplication::clipboard()->setText(copyText());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace ui
