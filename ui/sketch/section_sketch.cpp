#include "ui/sketch/section_sketch.h"

namespace ui {
namespace {

SketchOutcome failed(SketchOutcome::Problem problem, int step,
                     std::optional<joist::FaultKind> fault = std::nullopt)
{
    return SketchOutcome{problem, step, fault};
}

} // namespace

SketchOutcome drawSection(const joist::JoistDesign& design, DrawingSurface& surface)
{
    using joist::settled;
    const float b = design.breadth;
    const float h = design.depth;
    const float s = design.spacing;
    joist::clearFloatFaults();

    // Step 1. Each value is a float, stored before a later step uses it.
    const float t1 = settled(b + s);
    const float t2 = settled((s - b) / 2);
    if (auto fault = joist::raisedFloatFault())
        return failed(SketchOutcome::Problem::floatFault, 1, fault);

    // Steps 2 and 3.
    surface.clear();
    surface.setFillStyle(DrawingSurface::FillStyle::transparent);

    // Step 4: the user window, 2s square, centred between the joists.
    const float y2 = settled((2 * s + h) / 2);
    const float x2 = settled(t1 + t2);
    const float y1 = settled(-(2 * s - h) / 2);
    const float x1 = settled(-t2);
    if (auto fault = joist::raisedFloatFault())
        return failed(SketchOutcome::Problem::floatFault, 4, fault);

    // Step 5.
    if (!surface.setUserWindow(x1, y1, x2, y2))
        return failed(SketchOutcome::Problem::emptyWindow, 5);

    // Step 6: left joist.
    if (!surface.drawBox(0, 0, b, h))
        return failed(SketchOutcome::Problem::surfaceRefused, 6);

    // Step 7: right joist, one spacing to the right.
    const float rightX2 = settled(b + s);
    if (auto fault = joist::raisedFloatFault())
        return failed(SketchOutcome::Problem::floatFault, 7, fault);
    if (!surface.drawBox(s, 0, rightX2, h))
        return failed(SketchOutcome::Problem::surfaceRefused, 7);

    // Step 8: the deck across both tops, wider than the window.
    const float deckX1 = settled(-s / 2);
    const float deckX2 = settled(t1 + s);
    if (auto fault = joist::raisedFloatFault())
        return failed(SketchOutcome::Problem::floatFault, 8, fault);
    if (!surface.fillBox(deckX1, -deckThickness, deckX2, 0))
        return failed(SketchOutcome::Problem::surfaceRefused, 8);
    return {};
}

} // namespace ui
