#pragma once

// Draws the cross-section of two joists at their spacing on a drawing surface.

#include <optional>

#include "engine/float_status.h"
#include "engine/joist_design.h"
#include "ui/toolkit/drawing_surface.h"

namespace ui {

struct SketchOutcome
{
    enum class Problem { none, floatFault, emptyWindow, surfaceRefused };
    Problem problem = Problem::none;
    int step = 0; // the step that failed
    std::optional<joist::FaultKind> fault;

    bool ok() const { return problem == Problem::none; }
};

inline constexpr float deckThickness = 20; // mm

// Clears the surface and draws two joists of breadth b and depth h, one
// spacing s apart, under a 20 mm deck. Stops at the first failing step and
// reports it; what the steps before it drew stays.
SketchOutcome drawSection(const joist::JoistDesign& design, DrawingSurface& surface);

} // namespace ui
