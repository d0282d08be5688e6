#include "ui/toolkit/drop_down_list.h"

#include <QSignalBlocker>

namespace ui {

DropDownList::DropDownList(QWidget* parent) : QComboBox(parent)
{
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
}

void DropDownList::setItems(const QStringList& items)
{
    clearItems();
    for (const QString& item : items)
        appendItem(item);
}

void DropDownList::appendItem(const QString& text)
{
    // QComboBox selects the first item added to an empty list; a list that is
    // being filled selects nothing until someone picks.
    const QSignalBlocker blocker(this);
    const int selected = currentIndex();
    addItem(text);
    if (currentIndex() != selected)
        setCurrentIndex(selected);
}

void DropDownList::clearItems()
{
    const QSignalBlocker blocker(this);
    clear();
}

bool DropDownList::selectText(const QString& text)
{
    const int index = findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    return true;
}

} // namespace ui
