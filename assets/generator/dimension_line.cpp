#include "assets/generator/dimension_line.h"

#include <cmath>

#include <QFontMetricsF>
#include <QLineF>
#include <QPolygonF>

#include "assets/generator/label_font.h"

namespace assets {
namespace {

constexpr double lineWidth = 0.8;
constexpr double arrowLength = 5.0;
constexpr double arrowHalfAngle = 16.0;
constexpr double labelGap = 3.0;
constexpr int labelPixels = 11;

void drawArrowHead(QPainter& painter, QPointF tip, QPointF from)
{
    const double back = QLineF(tip, from).angle();
    const QPointF side1 =
        QLineF::fromPolar(arrowLength, back + arrowHalfAngle).translated(tip).p2();
    const QPointF side2 =
        QLineF::fromPolar(arrowLength, back - arrowHalfAngle).translated(tip).p2();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPolygon(QPolygonF({tip, side1, side2}));
}

} // namespace

void drawDimensionLine(QPainter& painter, QPointF from, QPointF to, const QString& label,
                       LabelPlacement placement)
{
    painter.save();
    painter.setPen(QPen(Qt::black, lineWidth));
    painter.drawLine(from, to);
    drawArrowHead(painter, to, from);
    drawArrowHead(painter, from, to);

    const QLineF line(from, to);
    const QFont font = labelFont(labelPixels);
    const QRectF box = QFontMetricsF(font).tightBoundingRect(label);
    painter.setFont(font);
    painter.setPen(Qt::black);
    if (placement == LabelPlacement::AlongLine) {
        painter.translate(line.center());
        painter.rotate(-line.angle());
        painter.drawText(QPointF(-box.center().x(), labelGap - box.top()), label);
    } else {
        // Move the label's box off the line along its right-hand normal until
        // the nearest corner clears it by the gap.
        const QLineF normal = line.normalVector().unitVector();
        const QPointF away = normal.p1() - normal.p2();
        const double reach =
            0.5 * (std::abs(away.x()) * box.width() + std::abs(away.y()) * box.height()) + labelGap;
        painter.drawText(line.center() + away * reach - box.center(), label);
    }
    painter.restore();
}

} // namespace assets
