#pragma once

// The words of a failure, for a message box or the command line.

#include <exception>
#include <string>

namespace io {

// What a failure says to the user: the program's own errors carry their
// message; the standard library's names ("std::bad_alloc") mean nothing to an
// engineer.
std::string errorMessage(const std::exception& error);

} // namespace io
