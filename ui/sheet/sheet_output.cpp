#include "ui/sheet/sheet_output.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextDocument>

#include "ui/sheet/file_target.h"

namespace ui {
namespace {

constexpr qreal marginMillimetres = 12;

// "saved as" or "printed to".
[[noreturn]] void failToWrite(const char* verb, const QString& path, const QString& reason)
{
    const QString message = QStringLiteral("The calculation could not be %1 \"%2\": %3.")
                                .arg(QLatin1String(verb), QDir::toNativeSeparators(path), reason);
    throw SheetOutputError(message.toStdString());
}

// Qt's texts for the usual failures are terse; these say what to do about them.
QString saveFailure(const QString& path, const QSaveFile& file)
{
    const QFileInfo target(path);
    if (const std::optional<QString> problem = fileTargetProblem(path))
        return *problem;
    if (const std::optional<QString> problem = longNameProblem(path))
        return *problem;
    const QFileInfo folder(target.absolutePath());
    if (!folder.exists())
        return QStringLiteral("the folder \"%1\" does not exist")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    if (!folder.isDir())
        return QStringLiteral("\"%1\" is a file, not a folder")
            .arg(QDir::toNativeSeparators(folder.filePath()));
    return file.errorString();
}

// Lays the document out on the device's pages and paints every page.
bool paintPages(QTextDocument& document, QPagedPaintDevice& device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    document.documentLayout()->setPaintDevice(&device);
    // Painter coordinates start at the printable area, in device pixels.
    const QSizeF page(device.width(), device.height());
    document.setPageSize(page);
    for (int index = 0; index < document.pageCount(); ++index) {
        if (index > 0 && !device.newPage())
            return false;
        const QRectF shown(0, index * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, -shown.top());
        document.drawContents(&painter, shown);
        painter.restore();
    }
    return painter.end();
}

QPageLayout a4()
{
    return QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(marginMillimetres, marginMillimetres, marginMillimetres, marginMillimetres),
        QPageLayout::Millimeter);
}

// The file the user named, written whole or not at all: a link, a pipe or a
// device there is refused (checked again just before the file is replaced),
// and on failure a file that was there is kept as it was.
void writePdf(const CalculationSheet& sheet, const QString& path, const QPageLayout& layout,
              const char* verb)
{
    if (const std::optional<QString> problem = fileTargetProblem(path))
        failToWrite(verb, path, *problem);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        failToWrite(verb, path, saveFailure(path, file));
    bool painted = false;
    {
        QPdfWriter writer(&file);
        writer.setCreator(sheet.programName + QLatin1Char(' ') + sheet.programVersion);
        writer.setTitle(QStringLiteral("Timber joist calculation"));
        writer.setPageLayout(layout);
        const std::unique_ptr<QTextDocument> document = sheetDocument(sheet);
        painted = paintPages(*document, writer);
    }
    if (!painted) {
        file.cancelWriting();
        failToWrite(verb, path, QStringLiteral("the PDF could not be drawn"));
    }
    if (const std::optional<QString> problem = fileTargetProblem(path)) {
        file.cancelWriting();
        failToWrite(verb, path, *problem);
    }
    if (!file.commit())
        failToWrite(verb, path, saveFailure(path, file));
}

// Anything beyond letters, digits and a few marks becomes '_', so that no
// text can make a path of it; the name starts with "joist-", so no part can
// make a hidden file or an option. A class name loses leading marks, a
// number keeps its sign and point ("span--5", "span-.5").
QString fileNamePart(const QString& text, const QString& fallback, bool number = true)
{
    QString part;
    for (const QChar c : text.trimmed()) {
        const bool kept = c.isLetterOrNumber() || c == QLatin1Char('.') || c == QLatin1Char(',') ||
                          c == QLatin1Char('-') || c == QLatin1Char('+');
        const QChar put = kept ? c : QLatin1Char('_');
        if (put != QLatin1Char('_') || !part.endsWith(QLatin1Char('_')))
            part += put;
    }
    while (part.startsWith(QLatin1Char('_')) ||
           (!number && (part.startsWith(QLatin1Char('.')) || part.startsWith(QLatin1Char('-')))))
        part.remove(0, 1);
    part.truncate(40);
    return part.isEmpty() ? fallback : part;
}

} // namespace

void writeSheetPdf(const CalculationSheet& sheet, const QString& path)
{
    writePdf(sheet, path, a4(), "saved as");
}

void printSheet(const CalculationSheet& sheet, QPrinter& printer)
{
    // A file is written as Save as PDF writes it, on the paper chosen.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        writePdf(sheet, printer.outputFileName(), printer.pageLayout(), "printed to");
        return;
    }
    // The paper and margins are the user's choice in the print dialog.
    const std::unique_ptr<QTextDocument> document = sheetDocument(sheet);
    if (!paintPages(*document, printer) || printer.printerState() == QPrinter::Error)
        throw SheetOutputError(
            QStringLiteral(
                "The calculation could not be printed on \"%1\": the printer refused it.")
                .arg(printer.printerName())
                .toStdString());
}

QString proposedSheetFileName(const CalculationSheet& sheet)
{
    return QStringLiteral("joist-%1-%2x%3-span-%4.pdf")
        .arg(fileNamePart(sheet.className, QStringLiteral("class"), false),
             fileNamePart(sheet.input(joist::Input::breadth).text, QStringLiteral("b")),
             fileNamePart(sheet.input(joist::Input::depth).text, QStringLiteral("h")),
             fileNamePart(sheet.input(joist::Input::span).text, QStringLiteral("L")));
}

QString proposedSheetPath(const CalculationSheet& sheet)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(proposedSheetFileName(sheet));
}

} // namespace ui
