#include "io/file_stamp.h"

#include <array>

#include <QCryptographicHash>

#include "io/regular_file.h"

namespace io {

std::optional<FileStamp> stampOf(const QString& path)
{
    try {
        RegularFile file(path);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        FileStamp stamp;
        std::array<char, 1 << 16> piece;
        while (const std::size_t got = file.read(piece.data(), piece.size())) {
            hash.addData(QByteArrayView(piece.data(), qsizetype(got)));
            stamp.size += qint64(got);
        }
        stamp.sha256 = hash.result();
        return stamp;
    } catch (const FileRefused&) {
        return std::nullopt;
    }
}

} // namespace io
