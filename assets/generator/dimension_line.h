#pragma once

// Dimension lines with arrowheads and a centred label, for the illustration.

#include <QPainter>
#include <QPointF>
#include <QString>

namespace assets {

enum class LabelPlacement {
    AlongLine, // turned to read along the line
    Upright,   // level, for short or steep lines
};

// A draughtsman's dimension line: thin, with an arrowhead at each end and its
// label beside it on the right-hand side going from `from` to `to`, which the
// caller chooses to be the side away from the part measured.
void drawDimensionLine(QPainter& painter, QPointF from, QPointF to, const QString& label,
                       LabelPlacement placement);

} // namespace assets
