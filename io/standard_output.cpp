#include "io/standard_output.h"

#include <cerrno>
#include <string>
#include <unistd.h>

#include "io/checked_file.h"

namespace io {
namespace {

// 0, or the error that stopped the write.
int writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        bytes.remove_prefix(std::size_t(written));
    }
    return 0;
}

} // namespace

void writeStandardOutput(std::string_view bytes)
{
    if (const int error = writeAll(STDOUT_FILENO, bytes))
        throw WriteFailed("standard output could not be written: " + errorInWords(error));
}

void writeStandardError(std::string_view bytes)
{
    writeAll(STDERR_FILENO, bytes);
}

} // namespace io
