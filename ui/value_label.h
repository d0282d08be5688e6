#pragma once

#include <QLabel>
#include <QString>

namespace ui {

// Shows a value in a label whose accessible name is its caption ("Bending
// ratio"): the value also becomes the accessible description, so that a
// screen reader says both.
inline void showValue(QLabel* label, const QString& text)
{
    label->setText(text);
    if (label->accessibleDescription() != text)
        label->setAccessibleDescription(text);
}

} // namespace ui
