#include "assets/resources.h"

namespace assets {

QString floorIllustrationPath()
{
    return QStringLiteral(":/joist/floor.png");
}

QString windowIconPath()
{
    return QStringLiteral(":/joist/icon.png");
}

} // namespace assets
