#pragma once

// The section sketch of a calculation sheet, drawn as vectors with its
// dimensions b, h and s in mm: painted into the printed document as a text
// object, or into an image for the clipboard.

#include <QImage>
#include <QObject>
#include <QSizeF>
#include <QTextObjectInterface>

#include "ui/sheet/sheet_contents.h"

class QPainter;
class QTextDocument;

namespace ui {

// The sketch's size on the page, in points.
inline constexpr QSizeF sheetSketchSize(200, 110);

// Draws the two joists and the deck as the window does, with dimension lines.
void paintSheetSketch(QPainter& painter, const QRectF& area, const CalculationSheet& sheet);

// The sketch as an image, twice its size in pixels, for the clipboard's HTML.
QImage sheetSketchImage(const CalculationSheet& sheet);

// Replaces the image named `placeholder` in `document` by the vector sketch.
// The sheet must outlive the document.
void placeSheetSketch(QTextDocument& document, const QString& placeholder,
                      const CalculationSheet& sheet);

class SheetSketchObject : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    SheetSketchObject(const CalculationSheet& sheet, QObject* parent)
        : QObject(parent), sheet_(sheet)
    {}
    QSizeF intrinsicSize(QTextDocument* document, int position, const QTextFormat& format) override;
    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int position,
                    const QTextFormat& format) override;

private:
    const CalculationSheet& sheet_;
};

} // namespace ui
