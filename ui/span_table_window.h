#pragma once

#include <span>
#include <string>

#include <QWidget>

#include "engine/joist_design.h"

class QLabel;
class QTableWidget;

namespace ui {

// The span table window: the longest span of every listed section at every
// listed spacing, for the class, loads and factors of the main window. An
// ordinary resizable window; it keeps nothing between runs.
class FrmSpanTable : public QWidget
{
    Q_OBJECT

public:
    explicit FrmSpanTable(std::string decimalSeparator, QWidget* parent = nullptr);

    // Computes the table for these inputs (everything but the section and
    // spacing, which the rows and columns vary) and shows it, the section and
    // spacing of the inputs highlighted.
    void showTable(const joist::JoistDesign& inputs, const QString& strengthClass,
                   std::span<const float> breadths, std::span<const float> depths,
                   std::span<const float> spacings);

    // Greys the cells and shows why they no longer describe the inputs,
    // until the next showTable.
    void markOutOfDate(const QString& reason);

    // The selected cells as tab-separated lines (unselected cells inside the
    // selection's bounds left empty), or, with nothing selected, the whole
    // table with its spacings and sections.
    QString copyText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setCurrent(bool current);

    std::string decimalSeparator_;
    QTableWidget* table_;
    QLabel* messageLbl_;
    int highlightedRow_ = -1;
    int highlightedColumn_ = -1;
};

} // namespace ui
