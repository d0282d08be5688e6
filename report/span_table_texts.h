#pragma once

// The span table as texts: caption, headings and cells, for its window and the
// sheet alike.

#include <span>
#include <string_view>
#include <vector>

#include <QString>
#include <QStringList>

#include "engine/joist_design.h"

namespace report {

// The span table as the window and the calculation sheet show it.
struct SpanTableTexts
{
    QString caption;
    QStringList columnHeadings;     // the spacings, mm
    QStringList rowHeadings;        // the sections, "36 x 100"
    std::vector<QStringList> cells; // one list per row, one cell per column
    // Beside each cell, as the cells: the governing check's letter (or
    // nothing), and the tooltip that says what governs and where.
    std::vector<QStringList> marks;
    std::vector<QStringList> tooltips;
    QString legend;             // what the marks of the checks in force mean
    int highlightedRow = -1;    // the inputs' section
    int highlightedColumn = -1; // the inputs' spacing
};

// Computes the longest spans of every listed section at every listed spacing
// for these inputs (all but section and spacing), with the caption naming
// the class and loads.
SpanTableTexts spanTableTexts(const joist::JoistDesign& inputs, const QString& strengthClass,
                              std::span<const float> breadths, std::span<const float> depths,
                              std::span<const float> spacings, std::string_view decimalSeparator);

// A cell with its mark in plain text, "4.99 (C)": the parentheses keep the
// letter apart from the digits where it cannot be set smaller or raised (the
// sheet's text for spreadsheets, screen readers). The span alone when it has
// no mark.
QString markedCell(const SpanTableTexts& spans, std::size_t row, qsizetype column);

} // namespace report
