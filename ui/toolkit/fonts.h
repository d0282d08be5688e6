#pragma once

// The fonts the fixed-layout windows are drawn in.

#include <QFont>

namespace ui {

// The windows' standard font: the classic 8 point dialog face, or the closest
// sans-serif the platform has.
QFont standardFont();

// "MS Sans Serif" 9.75 point bold, or the platform's nearest sans-serif.
QFont boldCaptionFont();

} // namespace ui
