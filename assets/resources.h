#pragma once

#include <QString>

namespace assets {

// Where the bitmaps are found in a program that links joist_assets.
QString floorIllustrationPath();
QString windowIconPath();

} // namespace assets
