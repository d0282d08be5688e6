#include "ui/toolkit/fonts.h"

#include <QStringList>

namespace ui {
namespace {

QFont sansSerif(double points)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    return font;
}

} // namespace

QFont standardFont()
{
    return sansSerif(8.0);
}

QFont boldCaptionFont()
{
    QFont font = sansSerif(9.75);
    font.setBold(true);
    return font;
}

} // namespace ui
