#pragma once

// The axonometric projection the floor illustration is drawn in.

#include <cmath>

#include <QPointF>

namespace assets {

// A parallel (axonometric) view of the floor: x runs along the joists, y across
// them, z up. One projection for every point keeps all edges of one direction
// parallel in the picture, as a draughtsman's isometric view does.
struct Axonometric
{
    double azimuthDegrees;   // plan rotation of the x axis away from the picture's horizontal
    double elevationDegrees; // how far the eye stands above the floor plane
    double scale;            // pixels per world unit
    QPointF origin;          // where the world origin lands in the picture

    QPointF operator()(double x, double y, double z) const
    {
        constexpr double radiansPerDegree = 3.14159265358979323846 / 180.0;
        const double a = azimuthDegrees * radiansPerDegree;
        const double e = elevationDegrees * radiansPerDegree;
        const double across = x * std::cos(a) - y * std::sin(a);
        const double depth = x * std::sin(a) + y * std::cos(a);
        const double up = depth * std::sin(e) + z * std::cos(e);
        return origin + QPointF(across, -up) * scale;
    }
};

} // namespace assets
