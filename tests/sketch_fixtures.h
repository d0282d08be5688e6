#pragma once

// A drawing surface that records what the section sketch draws.

#include "engine/joist_design.h"

namespace ui::testing {

// A record holding only what the sketch reads.
inline joist::JoistDesign section(float breadth, float depth, float spacing)
{
    joist::JoistDesign d;
    d.breadth = breadth;
    d.depth = depth;
    d.spacing = spacing;
    return d;
}

} // namespace ui::testing
