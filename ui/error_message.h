#pragma once

#include <exception>
#include <new>
#include <string>

namespace ui {

// What a failure says to the user: the program's own errors carry their
// message; the standard library's names ("std::bad_alloc") mean nothing to an
// engineer.
inline std::string errorMessage(const std::exception& error)
{
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return "There is not enough memory for this.";
    return error.what();
}

} // namespace ui
