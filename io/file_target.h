// Checks on a file the user named before the program writes it: the name
// itself is written, never the file a link points to, a pipe or a device.
#pragma once

#include <optional>

#include <QString>

namespace io {

// Why `path` must not be written, in words ("it is a named pipe, not a
// file"), or nothing when it names a regular file or nothing yet. Never
// blocks: the path is looked at, not opened.
std::optional<QString> fileTargetProblem(const QString& path);

// Why writing `path` failed when its name leaves no room for the temporary
// name beside it, or nothing.
std::optional<QString> longNameProblem(const QString& path);

} // namespace io
