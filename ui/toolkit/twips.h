#pragma once

// Twips to pixels and back at the windows' fixed resolution.

#include <cmath>

#include <QRect>

namespace ui {

// Layouts are written in twips (1/1440 inch). At 96 dots per inch 15 twips are
// one pixel; Qt's device-independent pixels keep that ratio on high-DPI
// screens, which Qt then scales.
inline constexpr double twipsPerPixel = 15.0;

inline int twipsToPixels(int twips)
{
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

} // namespace ui
