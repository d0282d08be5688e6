#pragma once

// Draws the program's icon: a joist section at every size the desktop asks for.

#include <QImage>

namespace assets {

// The window icon: 32 x 32 pixels in the 16 colours of the classic VGA
// palette, an indexed image; `scale` times as many pixels each way for
// scaled screens.
QImage drawWindowIcon(int scale = 1);

// The same design at any size for the desktop. Sizes below 48 keep the
// 16-colour look of the window icon; larger ones are drawn in full colour
// with smooth edges.
QImage drawDesktopIcon(int size);

} // namespace assets
