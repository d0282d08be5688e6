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

// The formatted sheet for printing, the sketch held as a resource; on two
// pages the span table stands on the second.
std::unique_ptr<QTextDocument> sheetDocument(const CalculationSheet& sheet, int pages = 1);

} // namespace ui
