#include "ui/sheet/sheet_output.h"

#include <algorithm>

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>

#include "io/checked_file.h"
#include "io/display_text.h"
#include "io/file_target.h"

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

// The space between a page's header and the sheet below it, in points.
constexpr qreal headerGapPoints = 3;

// The header of one page, laid out across the device's width.
std::unique_ptr<QTextDocument> pageHeader(const CalculationSheet& sheet, int page, int pages,
                                          QPagedPaintDevice& device)
{
    std::unique_ptr<QTextDocument> header = sheetHeaderDocument(sheet, page, pages);
    header->documentLayout()->setPaintDevice(&device);
    header->setTextWidth(device.width());
    return header;
}

// Whether the first page holds all that the paging puts before its break.
bool firstPageHolds(QTextDocument& document, SheetPaging paging)
{
    if (paging == SheetPaging::onePage)
        return document.pageCount() == 1;
    const qreal page = document.pageSize().height();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            return document.documentLayout()->blockBoundingRect(block).top() < 2 * page - 1;
    }
    return false;
}

// The sheet's body laid out on the device's pages below a header of its
// height: the first paging whose first page holds what it should, or else
// the last.
struct PagedSheet
{
    std::unique_ptr<QTextDocument> body;
    qreal top = 0; // where the body starts on every page
};

PagedSheet laidOut(const CalculationSheet& sheet, QPagedPaintDevice& device)
{
    // Painter coordinates start at the printable area, in device pixels. On
    // paper too small for it the header is cut, keeping half the page for
    // the sheet.
    const qreal gap = headerGapPoints * device.logicalDpiY() / 72.0;
    const auto topBelow = [&](int pages) {
        return std::min(pageHeader(sheet, pages, pages, device)->size().height() + gap,
                        device.height() / 2.0);
    };
    PagedSheet paged;
    paged.top = topBelow(1);
    // A longer page count may make the header taller: lay out again below it.
    for (;;) {
        for (const SheetPaging paging : sheetPagings) {
            paged.body = sheetDocument(sheet, paging);
            paged.body->documentLayout()->setPaintDevice(&device);
            paged.body->setPageSize(QSizeF(device.width(), device.height() - paged.top));
            if (firstPageHolds(*paged.body, paging))
                break;
        }
        const qreal top = topBelow(paged.body->pageCount());
        if (top <= paged.top)
            return paged;
        paged.top = top;
    }
}

// Lays the sheet out on the device's pages and paints every page, each
// under its header.
bool paintPages(const CalculationSheet& sheet, QPagedPaintDevice& device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const PagedSheet paged = laidOut(sheet, device);
    QTextDocument& body = *paged.body;
    const QSizeF page = body.pageSize();
    const int pages = body.pageCount();
    for (int index = 0; index < pages; ++index) {
        if (index > 0 && !device.newPage())
            return false;
        pageHeader(sheet, index + 1, pages, device)
            ->drawContents(&painter, QRectF(0, 0, page.width(), paged.top));
        const QRectF shown(0, index * page.height(), page.width(), page.height());
        painter.save();
        painter.translate(0, paged.top - shown.top());
        body.drawContents(&painter, shown);
        painter.restore();
    }
    return painter.end();
}

// A PDF text string: UTF-16BE with its byte order mark, in hex.
QByteArray pdfText(const QString& text)
{
    QByteArray hex = "<FEFF";
    for (const QChar c : text)
        hex += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return hex + '>';
}

// QPdfWriter names only the title and creator; an incremental update gives
// the document an information dictionary that adds author and subject.
QByteArray withDocumentInfo(const QByteArray& pdf, const CalculationSheet& sheet)
{
    const qsizetype start = pdf.lastIndexOf("startxref");
    const qsizetype trailer = pdf.lastIndexOf("trailer");
    if (start < 0 || trailer < 0)
        return pdf;
    const QString tail = QString::fromLatin1(pdf.mid(trailer));
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("/Size\\s+(\\d+)")).match(tail);
    const QRegularExpressionMatch root =
        QRegularExpression(QStringLiteral("/Root\\s+(\\d+\\s+\\d+\\s+R)")).match(tail);
    const QRegularExpressionMatch previous =
        QRegularExpression(QStringLiteral("startxref\\s+(\\d+)")).match(tail);
    if (!size.hasMatch() || !root.hasMatch() || !previous.hasMatch())
        return pdf;
    const int info = size.captured(1).toInt();
    QByteArray out = pdf;
    if (!out.endsWith('\n'))
        out += '\n';
    const qsizetype offset = out.size();
    // The details are outside text, shown by PDF viewers as they are.
    const QString author = io::displayText(sheet.details.calculatedBy, io::DisplayUse::message);
    QString subject = QStringLiteral("Timber floor joist check to EN 1995-1-1");
    if (!sheet.details.member.isEmpty())
        subject += QStringLiteral(": ") + sheet.details.member;
    if (!sheet.details.project.isEmpty())
        subject += QStringLiteral(", ") + sheet.details.project;
    out += QByteArray::number(info) + " 0 obj\n<<\n/Title " + pdfText(sheetTitle(sheet)) +
           "\n/Author " + pdfText(author) + "\n/Subject " +
           pdfText(io::displayText(subject, io::DisplayUse::message)) + "\n/Creator " +
           pdfText(sheet.programName + QLatin1Char(' ') + sheet.programVersion) + "\n/Producer " +
           pdfText(QStringLiteral("Qt " QT_VERSION_STR)) + "\n/CreationDate (D:" +
           sheet.created.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + ")\n>>\nendobj\n";
    const qsizetype xref = out.size();
    out += "xref\n" + QByteArray::number(info) + " 1\n" +
           QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \ntrailer\n<<\n/Size " +
           QByteArray::number(info + 1) + "\n/Root " + root.captured(1).toLatin1() + "\n/Info " +
           QByteArray::number(info) + " 0 R\n/Prev " + previous.captured(1).toLatin1() +
           "\n>>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

QPageLayout a4()
{
    return QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(marginMillimetres, marginMillimetres, marginMillimetres, marginMillimetres),
        QPageLayout::Millimeter);
}

// The file the user named, written whole or not at all.
void writePdf(const CalculationSheet& sheet, const QString& path, const QPageLayout& layout,
              const char* verb)
{
    if (const std::optional<QString> problem = io::fileTargetProblem(path))
        failToWrite(verb, path, *problem);
    QByteArray pdf;
    bool painted = false;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setCreator(sheet.programName + QLatin1Char(' ') + sheet.programVersion);
        writer.setTitle(sheetTitle(sheet));
        writer.setPageLayout(layout);
        painted = paintPages(sheet, writer);
    }
    if (!painted)
        failToWrite(verb, path, QStringLiteral("the PDF could not be drawn"));
    const QByteArray whole = withDocumentInfo(pdf, sheet);
    try {
        io::writeWholeFile(path, std::string_view(whole.constData(), std::size_t(whole.size())));
    } catch (const io::WriteFailed& failed) {
        failToWrite(verb, path, QString::fromStdString(failed.what()));
    }
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
    if (!paintPages(sheet, printer) || printer.printerState() == QPrinter::Error)
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
