#pragma once

// What a file held when the program last read or wrote it, to see before
// writing it again whether another program, or another window, changed it.

#include <optional>

#include <QByteArray>
#include <QString>

namespace io {

struct FileStamp
{
    qint64 size = 0;
    QByteArray sha256;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The file's stamp, or nothing when it is not there or cannot be read.
std::optional<FileStamp> stampOf(const QString& path);

} // namespace io
