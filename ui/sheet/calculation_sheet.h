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

// How the printed sheet is paged, each tried in turn until the first page
// holds what stands before the break: everything flowing on; the span table
// from the second page; the working of the concentrated load and of floor
// vibration from the second page as well.
enum class SheetPaging { onePage, spanTableApart, workingApart };
inline constexpr SheetPaging sheetPagings[] = {SheetPaging::onePage, SheetPaging::spanTableApart,
                                               SheetPaging::workingApart};

// The formatted sheet for printing without its header, the sketch held as a
// resource, paged as asked: the break is the first block that begins a page.
std::unique_ptr<QTextDocument> sheetDocument(const CalculationSheet& sheet,
                                             SheetPaging paging = SheetPaging::onePage);

// The boxed job header that heads every printed page: "Page 2 of 3".
std::unique_ptr<QTextDocument> sheetHeaderDocument(const CalculationSheet& sheet, int page,
                                                   int pages);

} // namespace ui
