#pragma once

// Writes the calculation sheet as a PDF file or prints it, and proposes its
// file name.

#include <stdexcept>

#include <QString>

#include "ui/sheet/calculation_sheet.h"

class QPrinter;

namespace ui {

// A sheet that could not be written or printed; the message names the file
// or printer and the reason, in words.
class SheetOutputError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Writes the sheet as an A4 PDF with selectable text. The file appears only
// complete: on failure nothing is left at `path`, a file that was there is
// kept as it was, and SheetOutputError is thrown.
void writeSheetPdf(const CalculationSheet& sheet, const QString& path);

// Prints the sheet on a printer the user has set up; throws SheetOutputError
// when the printer refuses it.
void printSheet(const CalculationSheet& sheet, QPrinter& printer);

// "joist-C16-44x225-span-4.pdf", made safe as a file name whatever the class
// name and the texts hold.
QString proposedSheetFileName(const CalculationSheet& sheet);

// That name in the user's documents folder.
QString proposedSheetPath(const CalculationSheet& sheet);

} // namespace ui
