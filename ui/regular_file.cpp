#include "ui/regular_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

namespace ui {
namespace {

class Descriptor
{
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

[[noreturn]] void refuse(const std::string& reason)
{
    throw FileRefused(reason);
}

} // namespace

QByteArray readRegularFile(const QString& path, qint64 largestBytes, const char* limitText)
{
    // Non-blocking, so that a pipe without a writer cannot hang the program.
    const QByteArray name = QFile::encodeName(path);
    Descriptor file(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) {
        const int error = errno;
        if (error == ENOENT)
            refuse("there is no such file");
        if (error == EACCES)
            refuse("you have no permission to read it");
        refuse(std::string("it cannot be opened (") + std::strerror(error) + ")");
    }
    struct stat status = {};
    if (::fstat(file.get(), &status) != 0)
        refuse(std::string("it cannot be examined (") + std::strerror(errno) + ")");
    if (S_ISDIR(status.st_mode))
        refuse("it is a folder, not a file");
    if (!S_ISREG(status.st_mode))
        refuse("it is not a regular file (a pipe, socket or device)");
    if (status.st_size > largestBytes)
        refuse(std::string("it is larger than ") + limitText);

    // The file may grow while it is read: read one byte beyond the limit to see.
    QByteArray bytes(static_cast<qsizetype>(status.st_size) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (filled > largestBytes)
                refuse(std::string("it is larger than ") + limitText);
            bytes.resize(std::min<qsizetype>(bytes.size() * 2, largestBytes + 1));
        }
        const ssize_t got = ::read(file.get(), bytes.data() + filled,
                                   static_cast<std::size_t>(bytes.size() - filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            refuse(std::string("it cannot be read (") + std::strerror(errno) + ")");
        }
        if (got == 0)
            break;
        filled += got;
    }
    if (filled > largestBytes)
        refuse(std::string("it is larger than ") + limitText);
    bytes.truncate(filled);
    return bytes;
}

} // namespace ui
