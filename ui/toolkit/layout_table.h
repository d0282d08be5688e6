#pragma once

// Fixed layouts as tables: one row per control, placed in twips, each filling a
// typed member of its window's controls.

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QRect>
#include <QString>
#include <QWidget>

namespace ui {

enum class ControlKind {
    label,      // QLabel, standard font
    boldLabel,  // QLabel, bold caption font
    valueLabel, // ValueLabel: a value, never cut silently
    boldValueLabel,
    symbolLabel,  // QLabel showing a Greek letter: text is the letter in the Symbol font
    textBox,      // QLineEdit
    dropDownList, // DropDownList; text holds its fixed items separated by '|'
    commandButton,
    line,       // a horizontal rule along the top of its placement
    image,      // QLabel with a bitmap at its natural size; text is the resource path
    pictureBox, // PictureBox
    panel,      // a white QFrame that holds controls of its own
};

// Creates one control as a child of `parent`, placed in twips; `name` may be
// empty for an unnamed caption.
QWidget* createControl(QWidget* parent, std::string_view name, ControlKind kind, QRect twips,
                       std::string_view text);

template <class> struct MemberTraits;
template <class Owner, class T> struct MemberTraits<T * Owner::*>
{
    using OwnerType = Owner;
    using ControlType = T;
};

// Stores a created control into the typed member of a window's controls.
template <auto member>
void intoMember(typename MemberTraits<decltype(member)>::OwnerType& controls, QWidget* widget)
{
    using T = typename MemberTraits<decltype(member)>::ControlType;
    auto* typed = dynamic_cast<T*>(widget);
    if (!typed)
        throw std::logic_error("layout row of the wrong kind for its member: " +
                               widget->objectName().toStdString());
    controls.*member = typed;
}

// Written in a layout row as `into<&Controls::pic>`.
template <auto member> inline constexpr auto into = &intoMember<member>;

// One control of a fixed layout: its design name (empty for an unnamed
// caption), kind, place and size in twips, text, the member of `Controls`
// that keeps it, what a screen reader calls it, and its rank in the focus
// order (0: not in it).
template <class Controls> struct Placement
{
    std::string_view name;
    ControlKind kind;
    int left, top, width, height;
    std::string_view text;
    void (*fill)(Controls&, QWidget*) = nullptr;
    std::string_view accessibleName = {};
    int focus = 0;
};

// Creates each control as a child of `parent`, in table order (which is also
// the order in which later controls are drawn over earlier ones), and fills
// the typed members of `controls`. Returns the focus-ranked controls.
template <class Controls, std::size_t extent>
std::vector<std::pair<int, QWidget*>>
buildControls(QWidget* parent, std::span<const Placement<Controls>, extent> table,
              Controls& controls)
{
    std::vector<std::pair<int, QWidget*>> ranked;
    for (const Placement<Controls>& p : table) {
        QWidget* widget =
            createControl(parent, p.name, p.kind, QRect(p.left, p.top, p.width, p.height), p.text);
        if (!p.accessibleName.empty())
            widget->setAccessibleName(QString::fromUtf8(p.accessibleName));
        if (p.fill)
            p.fill(controls, widget);
        if (p.focus != 0)
            ranked.emplace_back(p.focus, widget);
    }
    return ranked;
}

} // namespace ui
