#include "io/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

namespace io {
namespace {

[[noreturn]] void refuse(const std::string& reason)
{
    throw FileRefused(reason);
}

} // namespace

RegularFile::RegularFile(const QString& path)
{
    // Non-blocking, so that a pipe without a writer cannot hang the program.
    const QByteArray name = QFile::encodeName(path);
    fd_ = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) {
        const int error = errno;
        if (error == ENOENT)
            refuse("there is no such file");
        if (error == EACCES)
            refuse("you have no permission to read it");
        refuse(std::string("it cannot be opened (") + std::strerror(error) + ")");
    }
    struct stat status = {};
    const bool examined = ::fstat(fd_, &status) == 0;
    const int error = errno;
    const char* problem = !examined                 ? "it cannot be examined"
                          : S_ISDIR(status.st_mode) ? "it is a folder, not a file"
                          : !S_ISREG(status.st_mode)
                              ? "it is not a regular file (a pipe, socket or device)"
                              : nullptr;
    if (problem) {
        ::close(fd_);
        refuse(examined ? std::string(problem)
                        : std::string(problem) + " (" + std::strerror(error) + ")");
    }
    size_ = status.st_size;
}

RegularFile::~RegularFile()
{
    ::close(fd_);
}

std::size_t RegularFile::read(char* into, std::size_t room)
{
    for (;;) {
        const ssize_t got = ::read(fd_, into, room);
        if (got >= 0)
            return std::size_t(got);
        if (errno != EINTR)
            refuse(std::string("it cannot be read (") + std::strerror(errno) + ")");
    }
}

QByteArray readRegularFile(const QString& path, qint64 largestBytes, const char* limitText)
{
    RegularFile file(path);
    if (file.size() > largestBytes)
        refuse(std::string("it is larger than ") + limitText);

    // The file may grow while it is read: read one byte beyond the limit to see.
    QByteArray bytes(static_cast<qsizetype>(file.size()) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > largestBytes)
                refuse(std::string("it is larger than ") + limitText);
            bytes.resize(std::min<qsizetype>(bytes.size() * 2, largestBytes + 1));
        }
        const std::size_t got =
            file.read(bytes.data() + filled, std::size_t(bytes.size() - filled));
        if (got == 0)
            break;
        filled += qsizetype(got);
    }
    if (filled > largestBytes)
        refuse(std::string("it is larger than ") + limitText);
    bytes.truncate(filled);
    return bytes;
}

} // namespace io
