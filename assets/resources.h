#pragma once

// Makes the compiled-in illustration and icon available to the windows.

#include <QString>

namespace assets {

// Where the bitmaps are found in a program that links joist_assets.
QString floorIllustrationPath();
QString windowIconPath();

} // namespace assets
