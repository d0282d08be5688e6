#pragma once

// The calculation sheet's plain text, HTML and printable document.

#include <memory>

#include <QString>

#include "ui/sheet/sheet_contents.h"

class QTextDocument;

namespace ui {

// The document's title: the sheet's heading and, when given, the member,
// prepared as outside text is for the screen.
QString sheetTitle(const CalculationSheet& sheet);

// One item a line, label and value separated by tabs, for spreadsheets.
QString sheetPlainText(const CalculationSheet& sheet);

// The formatted sheet for word processors; the sketch is embedded.
QString sheetHtml(const CalculationSheet& sheet);

// How the printed sheet is paged, each tried in turn until it fits: one
// page; two, the span table on the second; two, the working of the
// concentrated load and of floor vibration on the second as well.
enum class SheetPaging { onePage, spanTableApart, workingApart };
inline constexpr SheetPaging sheetPagings[] = {SheetPaging::onePage, SheetPaging::spanTableApart,
                                               SheetPaging::workingApart};
constexpr int pageCountOf(SheetPaging paging)
{
    return paging == SheetPaging::onePage ? 1 : 2;
}

// The formatted sheet for printing, the sketch held as a resource, paged as
// asked.
std::unique_ptr<QTextDocument> sheetDocument(const CalculationSheet& sheet,
                                             SheetPaging paging = SheetPaging::onePage);

} // namespace ui
