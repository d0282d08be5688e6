#pragma once

// Finds a window's control by its object name, the name assistive technology
// and the design use; a missing one fails the test that asked.

#include <stdexcept>
#include <string>
#include <string_view>

#include <QString>
#include <QWidget>

namespace ui {

template <class T> T* control(const QWidget* form, std::string_view name)
{
    T* found = form->findChild<T*>(QString::fromUtf8(name));
    if (!found)
        throw std::logic_error("window has no control " + std::string(name));
    return found;
}

} // namespace ui
