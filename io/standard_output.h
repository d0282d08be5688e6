#pragma once

// Results written to standard output, each write checked: a full disk or a
// closed pipe behind it is a failure, never results silently lost.

#include <string_view>

namespace io {

// Throws WriteFailed ("standard output could not be written: ...").
void writeStandardOutput(std::string_view bytes);

// Warnings and errors: as much as can be written.
void writeStandardError(std::string_view bytes);

} // namespace io
