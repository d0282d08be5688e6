#pragma once

// Reading a file that the user named, safely: regular files only, never
// blocking on a pipe or device, and never more than a stated size.

#include <cstddef>
#include <stdexcept>

#include <QByteArray>
#include <QString>

namespace io {

// Why a named file cannot be read, in words; the caller names the file.
class FileRefused : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A regular file open for reading, a piece at a time. Throws FileRefused for
// a folder, a pipe, a device, or one that cannot be opened or read.
class RegularFile
{
public:
    explicit RegularFile(const QString& path);
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;
    ~RegularFile();

    // Its size when opened; it may grow or shrink while it is read.
    qint64 size() const { return size_; }
    // Up to `room` bytes into `into`; 0 at the end.
    std::size_t read(char* into, std::size_t room);

private:
    int fd_ = -1;
    qint64 size_ = 0;
};

// The whole file's bytes. Throws FileRefused as RegularFile does, and for a
// file over `largestBytes` (described as `limitText`, "1 MiB").
QByteArray readRegularFile(const QString& path, qint64 largestBytes, const char* limitText);

} // namespace io
