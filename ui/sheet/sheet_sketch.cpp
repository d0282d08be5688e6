#include "ui/sheet/sheet_sketch.h"

#include <cmath>

#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

#include "io/display_text.h"
#include "ui/sketch/section_sketch.h"
#include "ui/toolkit/drawing_surface.h"

namespace ui {
namespace {

constexpr int sketchObjectType = QTextFormat::UserObject + 1;

// The picture box's drawing, on any painter: the user window fills `area`.
class PainterSurface : public DrawingSurface
{
public:
    PainterSurface(QPainter& painter, const QRectF& area) : painter_(painter), area_(area) {}

    void clear() override { painter_.fillRect(area_, Qt::white); }
    void setFillStyle(FillStyle style) override { solid_ = style == FillStyle::solid; }
    bool setUserWindow(float x1, float y1, float x2, float y2) override
    {
        const double width = double(x2) - double(x1);
        const double height = double(y2) - double(y1);
        if (!std::isfinite(width) || !std::isfinite(height) || width == 0 || height == 0)
            return false;
        left_ = x1;
        top_ = y1;
        width_ = width;
        height_ = height;
        return true;
    }
    bool drawBox(float x1, float y1, float x2, float y2) override
    {
        painter_.setPen(QPen(Qt::black, 0.8));
        painter_.setBrush(solid_ ? QBrush(Qt::black) : QBrush(Qt::NoBrush));
        painter_.drawRect(QRectF(at(x1, y1), at(x2, y2)).normalized());
        return true;
    }
    bool fillBox(float x1, float y1, float x2, float y2) override
    {
        painter_.fillRect(QRectF(at(x1, y1), at(x2, y2)).normalized(), Qt::black);
        return true;
    }

    QPointF at(double x, double y) const
    {
        return {area_.left() + (x - left_) * area_.width() / width_,
                area_.top() + (y - top_) * area_.height() / height_};
    }

private:
    QPainter& painter_;
    QRectF area_;
    bool solid_ = false;
    double left_ = 0, top_ = 0, width_ = 1, height_ = 1;
};

// A dimension line from `from` to `to` with end ticks, its text beside it.
void dimension(QPainter& painter, QPointF from, QPointF to, const QString& text, bool vertical)
{
    painter.setPen(QPen(QColor(0x20, 0x40, 0x90), 0.5));
    painter.drawLine(from, to);
    const QPointF tick = vertical ? QPointF(2.5, 0) : QPointF(0, 2.5);
    painter.drawLine(from - tick, from + tick);
    painter.drawLine(to - tick, to + tick);
    const QPointF middle = (from + to) / 2;
    painter.save();
    painter.translate(middle);
    if (vertical)
        painter.rotate(-90);
    const QRectF box(-60, vertical ? -11 : 1, 120, 10);
    painter.drawText(box, Qt::AlignCenter, text);
    painter.restore();
}

} // namespace

void paintSheetSketch(QPainter& painter, const QRectF& area, const CalculationSheet& sheet)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(area);
    // Room along the bottom and the left for the dimensions.
    const QRectF drawing = area.adjusted(16, 0, 0, -24);
    PainterSurface surface(painter, drawing);
    const joist::JoistDesign& d = sheet.design;
    // Sizes are in the sketch's own units, points, whatever the device.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(7);
    painter.setFont(font);
    painter.fillRect(area, Qt::white);
    if (!drawSection(d, surface).ok()) {
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("The section could not be drawn."));
        painter.restore();
        return;
    }
    painter.setClipping(false);
    auto typed = [&](joist::Input input) { return io::displayText(sheet.input(input).text); };
    const QPointF bottomLeft = surface.at(0, d.depth);
    const QPointF bottomRight = surface.at(d.breadth, d.depth);
    const QPointF nextLeft = surface.at(d.spacing, d.depth);
    const double below = std::min(bottomLeft.y() + 5, area.bottom() - 23);
    dimension(painter, {bottomLeft.x(), below}, {bottomRight.x(), below},
              QStringLiteral("b = %1").arg(typed(joist::Input::breadth)), false);
    dimension(painter, {bottomLeft.x(), below + 12}, {nextLeft.x(), below + 12},
              QStringLiteral("s = %1").arg(typed(joist::Input::spacing)), false);
    const QPointF top = surface.at(0, 0);
    const double left = std::max(top.x() - 5, area.left() + 12);
    dimension(painter, {left, top.y()}, {left, bottomLeft.y()},
              QStringLiteral("h = %1").arg(typed(joist::Input::depth)), true);
    painter.restore();
}

QImage sheetSketchImage(const CalculationSheet& sheet)
{
    QImage image((sheetSketchSize * 2).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintSheetSketch(painter, QRectF(QPointF(0, 0), sheetSketchSize), sheet);
    return image;
}

void placeSheetSketch(QTextDocument& document, const QString& placeholder,
                      const CalculationSheet& sheet)
{
    document.documentLayout()->registerHandler(sketchObjectType,
                                               new SheetSketchObject(sheet, &document));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat() ||
                fragment.charFormat().toImageFormat().name() != placeholder)
                continue;
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + 1, QTextCursor::KeepAnchor);
            QTextCharFormat format;
            format.setObjectType(sketchObjectType);
            cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
            return;
        }
    }
}

QSizeF SheetSketchObject::intrinsicSize(QTextDocument* document, int, const QTextFormat&)
{
    // Points to the layout's device units.
    const QPaintDevice* device = document->documentLayout()->paintDevice();
    const double scale = device ? device->logicalDpiY() / 72.0 : 96.0 / 72.0;
    return sheetSketchSize * scale;
}

void SheetSketchObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument*, int,
                                   const QTextFormat&)
{
    painter->save();
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / sheetSketchSize.width(),
                   rect.height() / sheetSketchSize.height());
    paintSheetSketch(*painter, QRectF(QPointF(0, 0), sheetSketchSize), sheet_);
    painter->restore();
}

} // namespace ui
