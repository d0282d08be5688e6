#pragma once

// Reading a whole file that the user named, safely: regular files only, never
// blocking on a pipe or device, and never more than a stated size.

#include <stdexcept>
#include <string>

#include <QByteArray>
#include <QString>

namespace ui {

// Why a named file cannot be read, in words; the caller names the file.
class FileRefused : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The file's bytes. Throws FileRefused for a folder, a pipe, a device, a file
// over `largestBytes` (described as `limitText`, "1 MiB"), or one that cannot
// be opened or read.
QByteArray readRegularFile(const QString& path, qint64 largestBytes, const char* limitText);

} // namespace ui
