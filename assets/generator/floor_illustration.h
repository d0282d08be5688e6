#pragma once

// Draws the joisted-floor illustration shown above the inputs.

#include <QImage>

namespace assets {

inline constexpr int floorWidth = 416;
inline constexpr int floorHeight = 189;

// The main window's picture of a boarded floor on seven joists, with the
// joist spacing S and the SPAN marked: 416 x 189 pixels, 24-bit, on white;
// `scale` times as many pixels each way for scaled screens.
QImage drawFloorIllustration(int scale = 1);

} // namespace assets
