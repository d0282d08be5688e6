#pragma once

// The span table window: the longest span of every listed section at every
// listed spacing, following the main window.

#include <QWidget>

#include "report/span_table_texts.h"

class QLabel;
class QTableWidget;

namespace ui {

// The span table window: the longest span of every listed section at every
// listed spacing, for the class, loads and factors of the main window, each
// marked with the check that stops a longer span. An ordinary resizable
// window; it keeps nothing between runs.
class FrmSpanTable : public QWidget
{
    Q_OBJECT

public:
    explicit FrmSpanTable(QWidget* parent = nullptr);

    // Shows a computed table, the inputs' section and spacing highlighted.
    void showTable(const report::SpanTableTexts& spans);

    // Draws the cells in the stale style and shows why they no longer
    // describe the inputs, until the next showTable; Ctrl+C then refuses.
    void markOutOfDate(const QString& reason);

    // The caption, then the selected cells' spans without their marks as
    // tab-separated lines (unselected cells inside the selection's bounds
    // left empty), or, with nothing selected, the whole table with its
    // spacings and sections. A spreadsheet gets numbers.
    QString copyText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setCurrent(bool current);
    void copy();

    QTableWidget* table_;
    QLabel* captionLbl_; // whole, where the title bar may cut it
    QLabel* legendLbl_;
    QLabel* messageLbl_;
    QString caption_;
    QString outOfDate_; // why the cells are stale; empty while current
    int highlightedRow_ = -1;
    int highlightedColumn_ = -1;
};

} // namespace ui
