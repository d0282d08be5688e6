#include "assets/generator/joist_icon.h"

#include <cmath>

#include <QColor>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "assets/generator/label_font.h"

namespace assets {
namespace {

const QList<QRgb>& vgaPalette()
{
    static const QList<QRgb> palette = {
        qRgb(0x00, 0x00, 0x00), qRgb(0x80, 0x00, 0x00), qRgb(0x00, 0x80, 0x00),
        qRgb(0x80, 0x80, 0x00), qRgb(0x00, 0x00, 0x80), qRgb(0x80, 0x00, 0x80),
        qRgb(0x00, 0x80, 0x80), qRgb(0xc0, 0xc0, 0xc0), qRgb(0x80, 0x80, 0x80),
        qRgb(0xff, 0x00, 0x00), qRgb(0x00, 0xff, 0x00), qRgb(0xff, 0xff, 0x00),
        qRgb(0x00, 0x00, 0xff), qRgb(0xff, 0x00, 0xff), qRgb(0x00, 0xff, 0xff),
        qRgb(0xff, 0xff, 0xff),
    };
    return palette;
}

struct Colours
{
    QBrush ground;
    QColor groundEdge;
    QColor lettering;
    QBrush front;
    QBrush top;
    QBrush side;
    QColor dots;
    QColor outline;
};

// Only palette colours, and a checker of olive and black for the shaded side,
// as 16-colour icons were shaded.
Colours paletteColours()
{
    const QColor olive(0x80, 0x80, 0x00);
    QBrush side(Qt::black, Qt::Dense4Pattern);
    return {QColor(0xc0, 0xc0, 0xc0),
            QColor(0x80, 0x80, 0x80),
            Qt::black,
            olive,
            olive,
            side,
            QColor(0xff, 0x00, 0x00),
            Qt::black};
}

Colours fullColours()
{
    QLinearGradient ground(0, 0, 0, 32);
    ground.setColorAt(0.0, QColor(0xd2, 0xd2, 0xd0));
    ground.setColorAt(1.0, QColor(0xa6, 0xa6, 0xa4));
    QLinearGradient front(0, 13, 0, 30);
    front.setColorAt(0.0, QColor(0x94, 0x8a, 0x2e));
    front.setColorAt(1.0, QColor(0x7c, 0x72, 0x22));
    return {ground,
            QColor(0x7a, 0x7a, 0x78),
            QColor(0x1c, 0x1c, 0x1c),
            front,
            QColor(0xb8, 0xaa, 0x50),
            QColor(0x5a, 0x52, 0x16),
            QColor(0xd4, 0x1e, 0x1e),
            QColor(0x14, 0x14, 0x10)};
}

// Where the parts of the design go, in pixels of an icon of `size`. The
// standard layout scales to any size; the tiny one is placed pixel by pixel,
// since at 16 pixels a scaled drawing blurs into nothing.
struct Layout
{
    double size;
    QRectF letters[3];
    bool pixelLetters;
    QRectF end;
    QPointF vanishing;
    double recede;
    int dotsAcross;
    int dotsAlong;
};

const Layout standard{32.0,     {{2, 2.5, 7, 8}, {2, 12, 7, 8}, {2, 21.5, 7, 8}},
                      false,    {12, 15, 10, 14},
                      {40, -6}, 0.6,
                      3,        4};
const Layout tiny{
    16.0, {{1, 1, 3, 4}, {1, 6, 3, 4}, {1, 11, 3, 4}}, true, {5, 8, 6, 6}, {20, -4}, 0.65, 2, 1};

// E, C and 5 in three by four pixels, for the tiny layout.
constexpr const char* pixelGlyphs[3][4] = {
    {"###", "##.", "#..", "###"},
    {".##", "#..", "#..", ".##"},
    {"###", "##.", "..#", "##."},
};

// Draws one letter filling its box, whatever the font's own metrics.
void drawLetter(QPainter& painter, QChar letter, const QRectF& box, const QColor& colour)
{
    QPainterPath path;
    path.addText(0, 0, labelFont(64), QString(letter));
    const QRectF shape = path.boundingRect();
    QTransform fit;
    fit.translate(box.left(), box.top());
    fit.scale(box.width() / shape.width(), box.height() / shape.height());
    fit.translate(-shape.left(), -shape.top());
    painter.fillPath(fit.map(path), colour);
}

void drawPixelLetter(QPainter& painter, int index, const QRectF& box, const QColor& colour)
{
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 3; ++column)
            if (pixelGlyphs[index][row][column] == '#')
                painter.fillRect(QRectF(box.left() + column - 0.5, box.top() + row - 0.5, 1, 1),
                                 colour);
}

QPointF bilinear(const QPolygonF& quad, double u, double v)
{
    const QPointF a = quad[0] + (quad[1] - quad[0]) * u;
    const QPointF b = quad[3] + (quad[2] - quad[3]) * u;
    return a + (b - a) * v;
}

void drawDesign(QPainter& painter, const Layout& layout, const Colours& colours, bool smooth)
{
    const double size = layout.size;
    const QPen outline(colours.outline, smooth ? 0.55 : 1.0, Qt::SolidLine, Qt::FlatCap,
                       Qt::MiterJoin);

    if (smooth) {
        painter.setPen(QPen(colours.groundEdge, 0.6));
        painter.setBrush(colours.ground);
        painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1.0, size - 1.0), 3.0, 3.0);
    } else {
        painter.fillRect(QRectF(-1.0, -1.0, size + 2.0, size + 2.0), colours.ground);
    }

    const QChar letters[] = {'E', 'C', '5'};
    for (int i = 0; i < 3; ++i) {
        if (layout.pixelLetters)
            drawPixelLetter(painter, i, layout.letters[i], colours.lettering);
        else
            drawLetter(painter, letters[i], layout.letters[i], colours.lettering);
    }

    // The block: its sawn end, crossed as timber is in section, faces the
    // viewer and it runs back towards a vanishing point beyond the top right.
    const QRectF& end = layout.end;
    // Without smoothing every corner sits on a whole pixel, so that edges
    // come out one pixel wide.
    auto back = [&](QPointF p) {
        const QPointF q = layout.vanishing + (p - layout.vanishing) * layout.recede;
        return smooth ? q : QPointF(std::round(q.x()), std::round(q.y()));
    };
    const QPolygonF top({end.topLeft(), end.topRight(), back(end.topRight()), back(end.topLeft())});
    const QPolygonF side(
        {end.topRight(), end.bottomRight(), back(end.bottomRight()), back(end.topRight())});

    painter.setPen(outline);
    // The checkered side of the 16-colour icon needs olive under its black.
    painter.setBrush(colours.front);
    painter.drawPolygon(side);
    painter.setBrush(colours.side);
    painter.drawPolygon(side);
    painter.setBrush(colours.top);
    painter.drawPolygon(top);

    painter.setPen(Qt::NoPen);
    painter.setBrush(colours.dots);
    for (int i = 0; i < layout.dotsAcross; ++i) {
        for (int j = 0; j < layout.dotsAlong; ++j) {
            const QPointF dot =
                bilinear(top, (i + 0.5) / layout.dotsAcross, (j + 0.5) / layout.dotsAlong);
            if (smooth)
                painter.drawEllipse(dot, 0.75, 0.75);
            else
                painter.fillRect(QRectF(std::round(dot.x()) - 0.5, std::round(dot.y()) - 0.5, 1, 1),
                                 colours.dots);
        }
    }

    painter.setPen(outline);
    painter.setBrush(colours.front);
    painter.drawRect(end);
    painter.drawLine(end.topLeft(), end.bottomRight());
    painter.drawLine(end.topRight(), end.bottomLeft());
}

QImage render(int size, const Layout& layout, bool smooth)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    painter.scale(size / layout.size, size / layout.size);
    // Unsmoothed one-pixel lines are drawn on pixel centres.
    if (!smooth)
        painter.translate(0.5, 0.5);
    drawDesign(painter, layout, smooth ? fullColours() : paletteColours(), smooth);
    painter.end();
    return image;
}

QImage toPalette(const QImage& image)
{
    return image.convertToFormat(QImage::Format_Indexed8, vgaPalette(),
                                 Qt::ThresholdDither | Qt::AvoidDither);
}

} // namespace

QImage drawWindowIcon(int scale)
{
    return toPalette(render(32 * scale, standard, false));
}

QImage drawDesktopIcon(int size)
{
    if (size <= 16)
        return toPalette(render(size, tiny, false));
    if (size <= 32)
        return toPalette(render(size, standard, false));
    return render(size, standard, true);
}

} // namespace assets
