#pragma once

// A pick-only drop-down list of fixed items, selected by text or index.

#include <QComboBox>
#include <QStringList>

namespace ui {

// A pick-only drop-down list. Its click event is currentIndexChanged: raised
// synchronously on every new selection, by mouse, keyboard or program.
// Filling and clearing the list select nothing and raise no event.
class DropDownList : public QComboBox
{
    Q_OBJECT

public:
    explicit DropDownList(QWidget* parent = nullptr);

    void setItems(const QStringList& items);
    void appendItem(const QString& text);
    void clearItems();
    // Selects the first item whose text equals `text`. Returns false, and
    // changes nothing, when no item has that text.
    bool selectText(const QString& text);
    int selectedIndex() const { return currentIndex(); }
    QString selectedText() const { return currentText(); }
};

} // namespace ui
