#pragma once

// The font the generated pictures' labels are written in.

#include <QFont>

namespace assets {

// Bold sans-serif at a pixel size, so lettering does not depend on the
// screen's dots per inch. DejaVu Sans ships with the build's packages, so the
// generated pictures come out the same on every build machine that has it.
QFont labelFont(int pixelSize);

} // namespace assets
