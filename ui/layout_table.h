#pragma once

#include <span>
#include <stdexcept>
#include <string_view>

#include <QString>
#include <QWidget>

namespace ui {

enum class ControlKind {
    label,        // QLabel, standard font
    boldLabel,    // QLabel, bold caption font
    symbolLabel,  // QLabel showing a Greek letter: text is the letter in the Symbol font
    textBox,      // QLineEdit
    dropDownList, // DropDownList; text holds its fixed items separated by '|'
    commandButton,
    line,       // a horizontal rule along the top of its placement
    image,      // QLabel with a bitmap at its natural size; text is the resource path
    pictureBox, // PictureBox
    panel,      // a white QFrame that holds controls of its own
};

// One control of a fixed layout: its design name (empty for an unnamed
// caption), kind, place and size in twips, and text.
struct Placement
{
    std::string_view name;
    ControlKind kind;
    int left, top, width, height;
    std::string_view text;
};

// Creates each control as a child of `parent`, in table order (which is also
// the order in which later controls are drawn over earlier ones).
void buildControls(QWidget* parent, std::span<const Placement> table);

// The control a layout created under `name`; a missing one is a programming
// error, not a user's.
template <class T> T* control(const QWidget* form, std::string_view name)
{
    T* found = form->findChild<T*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
    if (!found)
        throw std::logic_error("layout has no control " + std::string(name));
    return found;
}

} // namespace ui
