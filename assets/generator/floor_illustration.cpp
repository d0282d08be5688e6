#include "assets/generator/floor_illustration.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "assets/generator/axonometric.h"
#include "assets/generator/dimension_line.h"

namespace assets {
namespace {

constexpr double pi = 3.14159265358979323846;

// World geometry in drawing units. The proportions are a drawing's, not a
// real floor's: joists stouter and the span shorter, so that all seven read
// at this size.
constexpr int joistCount = 7;
constexpr double breadth = 11.0;
constexpr double depth = 28.0;
constexpr double spacing = 38.0;
constexpr double length = 372.0;
constexpr double floorBreadth = (joistCount - 1) * spacing + breadth;

constexpr double boardWidth = 14.0;
constexpr double boardThickness = 4.0;
constexpr double boardOverhang = 7.0;
constexpr double boardFront = 168.0; // mean line of the cut edge
constexpr double waveAmplitude = 6.0;
constexpr double waveLength = 96.0;
constexpr double deckTop = depth + boardThickness;

// Dimension lines stand off the timber by these distances; extension lines
// run a little past them.
constexpr double spanOffset = 24.0;
constexpr double spacingOffset = 26.0;
constexpr double extensionOvershoot = 4.0;

// The eye looks along the joists from the front left, a little lower than a
// true isometric view so that the long floor fits the picture's wide frame.
constexpr double azimuth = 30.0;
constexpr double elevation = 27.0;

const QColor joistTop(0xa4, 0x90, 0x4c);
const QColor joistSide(0x74, 0x62, 0x2c);
const QColor joistEnd(0x5e, 0x4e, 0x22);
const QColor boardTop(0xf2, 0x98, 0x30);
const QColor boardEdge(0xc4, 0x6c, 0x1c);
const QColor boardJoint(0x6a, 0x38, 0x0e);

struct Point
{
    double x, y, z;
};

// The boards' cut edge. Its slope stays well below the view's, so no part of
// the edge turns its back to the eye and folds over itself in the picture.
double waveFront(double y)
{
    return boardFront + waveAmplitude * std::sin(2.0 * pi * (y + boardOverhang) / waveLength);
}

class FloorPainter
{
public:
    FloorPainter(QPainter& painter, const Axonometric& view) : p_(painter), view_(view) {}

    void drawJoists()
    {
        // Back to front, so each nearer joist covers the one behind it.
        for (int i = joistCount - 1; i >= 0; --i) {
            const double y0 = i * spacing;
            const double y1 = y0 + breadth;
            face({{0, y0, 0}, {length, y0, 0}, {length, y0, depth}, {0, y0, depth}}, joistSide);
            face({{0, y0, 0}, {0, y1, 0}, {0, y1, depth}, {0, y0, depth}}, joistEnd);
            face({{0, y0, depth}, {length, y0, depth}, {length, y1, depth}, {0, y1, depth}},
                 joistTop);
            grain(i);
        }
    }

    void drawBoards()
    {
        const double yFirst = -boardOverhang;
        const double yLast = floorBreadth + boardOverhang;
        const int samples = 96;
        std::vector<Point> edge;
        for (int k = 0; k <= samples; ++k) {
            const double y = yFirst + (yLast - yFirst) * k / samples;
            edge.push_back({waveFront(y), y, deckTop});
        }

        // The right-hand side of the deck, with the joints running down it.
        const double xRight = waveFront(yFirst);
        face({{xRight, yFirst, depth},
              {length, yFirst, depth},
              {length, yFirst, deckTop},
              {xRight, yFirst, deckTop}},
             boardEdge);

        // The cut front edge, shaded by how squarely each piece faces the eye.
        p_.setPen(Qt::NoPen);
        for (std::size_t k = 0; k + 1 < edge.size(); ++k) {
            const Point& a = edge[k];
            const Point& b = edge[k + 1];
            const double slope = (b.x - a.x) / (b.y - a.y);
            const double facing = std::clamp(0.75 - 0.9 * slope, 0.35, 1.0);
            p_.setBrush(boardEdge.darker(static_cast<int>(100 + 45 * (1.0 - facing))));
            p_.drawPolygon(project({{a.x, a.y, depth}, {b.x, b.y, depth}, b, a}));
        }
        p_.setBrush(Qt::NoBrush);
        p_.setPen(outline());
        QPolygonF lower;
        for (const Point& e : edge)
            lower << view_(e.x, e.y, depth);
        p_.drawPolyline(lower);

        std::vector<Point> top = edge;
        top.push_back({length, yLast, deckTop});
        top.push_back({length, yFirst, deckTop});
        const QPolygonF deck = project(top);
        QPainterPath deckPath;
        deckPath.addPolygon(deck);
        deckPath.closeSubpath();

        p_.setPen(Qt::NoPen);
        p_.setBrush(boardTop);
        p_.drawPath(deckPath);

        // Board joints, laid from the far end towards the cut.
        p_.save();
        p_.setClipPath(deckPath);
        p_.setPen(QPen(boardJoint, 1.0));
        for (double x = length - boardWidth; x > boardFront - waveAmplitude - boardWidth;
             x -= boardWidth)
            p_.drawLine(view_(x, yFirst, deckTop), view_(x, yLast, deckTop));
        p_.restore();
        p_.setPen(QPen(boardJoint, 1.0));
        for (double x = length - boardWidth; x > xRight; x -= boardWidth)
            p_.drawLine(view_(x, yFirst, deckTop), view_(x, yFirst, depth));

        p_.setPen(outline());
        p_.setBrush(Qt::NoBrush);
        p_.drawPath(deckPath);
    }

    void drawSpanDimension()
    {
        const double y = -spanOffset;
        p_.setPen(thin());
        p_.drawLine(view_(0, -2, 0), view_(0, y - extensionOvershoot, 0));
        p_.drawLine(view_(length, -2, 0), view_(length, y - extensionOvershoot, 0));
        drawDimensionLine(p_, view_(0, y, 0), view_(length, y, 0), QStringLiteral("SPAN"),
                          LabelPlacement::AlongLine);
    }

    void drawSpacingDimensions()
    {
        const double x = -spacingOffset;
        p_.setPen(thin());
        for (int i = 0; i < 3; ++i) {
            const double y = i * spacing;
            p_.drawLine(view_(-2, y, 0), view_(x - extensionOvershoot, y, 0));
        }
        for (int i = 0; i < 2; ++i)
            drawDimensionLine(p_, view_(x, (i + 1) * spacing, 0), view_(x, i * spacing, 0),
                              QStringLiteral("S"), LabelPlacement::Upright);
    }

private:
    // A few faint streaks along each joist, so the bars read as sawn timber.
    void grain(int joist)
    {
        const double y0 = joist * spacing;
        // Each joist gets its own phase, so the streaks do not line up.
        const double phase = 1.7 * joist;
        p_.setBrush(Qt::NoBrush);
        p_.setPen(QPen(joistSide.darker(118), 0.7));
        for (double level : {0.36, 0.7}) {
            QPolygonF streak;
            for (double x = 2.0; x <= length - 2.0; x += 6.0)
                streak << view_(x, y0,
                                depth * level + 1.2 * std::sin(x / 37.0 + phase + 3.0 * level));
            p_.drawPolyline(streak);
        }
        p_.setPen(QPen(joistTop.darker(115), 0.7));
        QPolygonF streak;
        for (double x = 2.0; x <= length - 2.0; x += 6.0)
            streak << view_(x, y0 + breadth * (0.5 + 0.18 * std::sin(x / 29.0 + phase)), depth);
        p_.drawPolyline(streak);
    }

    static QPen outline()
    {
        return QPen(Qt::black, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    }
    static QPen thin() { return QPen(Qt::black, 0.8); }

    QPolygonF project(const std::vector<Point>& points) const
    {
        QPolygonF polygon;
        for (const Point& point : points)
            polygon << view_(point.x, point.y, point.z);
        return polygon;
    }

    void face(const std::vector<Point>& corners, const QColor& fill)
    {
        p_.setPen(outline());
        p_.setBrush(fill);
        p_.drawPolygon(project(corners));
    }

    QPainter& p_;
    const Axonometric& view_;
};

// The view is fitted to the picture from the extreme points of the drawing,
// so the geometry above can change without moving anything by hand.
Axonometric fittedView()
{
    Axonometric view{azimuth, elevation, 1.0, QPointF(0, 0)};
    const double nearY = -spanOffset - extensionOvershoot;
    const double nearX = -spacingOffset - extensionOvershoot;
    const double farY = floorBreadth + boardOverhang;
    const double extremes[][3] = {
        {0, floorBreadth, depth},
        {nearX, 2 * spacing, 0},
        {nearX, 0, 0},
        {0, nearY, 0},
        {length, nearY, 0},
        {length, -boardOverhang, deckTop},
        {length, farY, deckTop},
        {waveFront(farY), farY, deckTop},
    };
    QRectF bounds;
    for (const auto& e : extremes) {
        const QPointF point = view(e[0], e[1], e[2]);
        bounds |= QRectF(point, QSizeF(0.001, 0.001));
    }
    // Room for the S labels on the left; a pixel or two elsewhere.
    const QMarginsF margins(16.0, 3.0, 3.0, 3.0);
    const QRectF frame = QRectF(0, 0, assets::floorWidth, assets::floorHeight) - margins;
    view.scale = std::min(frame.width() / bounds.width(), frame.height() / bounds.height());
    view.origin = frame.center() - bounds.center() * view.scale;
    return view;
}

} // namespace

QImage drawFloorIllustration(int scale)
{
    QImage image(assets::floorWidth * scale, assets::floorHeight * scale, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const Axonometric view = fittedView();
    FloorPainter floor(painter, view);
    floor.drawSpanDimension();
    floor.drawSpacingDimensions();
    floor.drawJoists();
    floor.drawBoards();
    painter.end();
    return image;
}

} // namespace assets
