// How a value that no longer describes the inputs is drawn, in every window:
// dark grey italics, readable (6:1 on the window's grey, 7:1 on white) rather
// than the faint disabled text.
#pragma once

#include <QColor>

namespace ui {

inline QColor staleTextColor()
{
    return QColor(0x59, 0x59, 0x59);
}

} // namespace ui
