#include "materials/database_file.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <nettle/sha2.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "materials/database_error.h"

namespace materials {
namespace {

using Kind = DatabaseErrorKind;

std::string_view fileTypeText(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a directory";
    if (S_ISFIFO(mode))
        return "a named pipe (FIFO)";
    if (S_ISLNK(mode))
        return "a symbolic link";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    return "a special file";
}

// O_NONBLOCK: opening a named pipe would otherwise wait for a writer forever.
int openWithoutBlocking(const std::string& path, int extraFlags)
{
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | extraFlags);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Reads up to size bytes from the start of a regular file.
std::size_t readStart(int fd, unsigned char* buffer, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::pread(fd, buffer + done, size - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::uint32_t bigEndian(const unsigned char* bytes, int count)
{
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

// A hot journal starts with this; a finished one is zeroed, cut or deleted.
constexpr std::array<unsigned char, 8> journalMagic{0xD9, 0xD5, 0x05, 0xF9, 0x20, 0xA1, 0x63, 0xD7};

// The database is opened immutable, which ignores journals: a database that
// another program is writing, or whose last write was cut off, would be read
// as if it were whole. So a side file must be an ordinary file that is
// examined here, and one with unfinished changes is refused.
void checkSideFile(const std::string& path, std::string_view suffix)
{
    const std::string side = path + std::string(suffix);
    struct stat status
    {};
    if (::lstat(side.c_str(), &status) != 0) {
        if (errno == ENOENT)
            return;
        throw databaseError(Kind::cannotOpen, path,
                            "cannot examine the file " + quotedText(side) + " beside it (" +
                                std::strerror(errno) + ")");
    }
    if (!S_ISREG(status.st_mode))
        throw databaseError(Kind::cannotOpen, path,
                            "beside it lies " + quotedText(side) + ", which is " +
                                std::string(fileTypeText(status.st_mode)) +
                                ", not a regular file; SQLite would keep unfinished changes in "
                                "it, so the program cannot tell whether the database is whole. "
                                "Remove or rename it");
    bool unfinished = false;
    if (suffix == "-wal") {
        unfinished = status.st_size > 0;
    } else if (suffix == "-journal") {
        // O_NOFOLLOW and a second look: it may have been swapped since.
        const int journal = openWithoutBlocking(side, O_NOFOLLOW);
        struct stat opened
        {};
        const bool examined =
            journal >= 0 && ::fstat(journal, &opened) == 0 && S_ISREG(opened.st_mode);
        std::array<unsigned char, journalMagic.size()> start{};
        unfinished = examined && readStart(journal, start.data(), start.size()) == start.size() &&
                     start == journalMagic;
        if (journal >= 0)
            ::close(journal);
        if (!examined)
            throw databaseError(Kind::cannotOpen, path,
                                "cannot examine the file " + quotedText(side) +
                                    " beside it, which may hold unfinished changes");
    }
    if (unfinished)
        throw databaseError(Kind::cannotOpen, path,
                            "it has changes that are not finished (" + quotedText(side) +
                                "); close any program that is writing it, or open it once in an "
                                "SQLite tool to finish or undo the change");
}

std::uint32_t checkHeader(const std::string& path, int fd, std::uint64_t fileSize)
{
    std::array<unsigned char, 100> header{};
    const auto notADatabase = [&] {
        return databaseError(Kind::notADatabase, path, "the file is not an SQLite 3 database");
    };
    if (readStart(fd, header.data(), header.size()) != header.size() ||
        std::memcmp(header.data(), "SQLite format 3", 16) != 0)
        throw notADatabase();
    const std::uint32_t stored = bigEndian(&header[16], 2);
    const std::uint32_t pageSize = stored == 1 ? 65536 : stored;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        throw notADatabase();

    const std::string damaged = ": the file is damaged or was cut off";
    if (fileSize % pageSize != 0)
        throw databaseError(Kind::damaged, path,
                            "its length, " + std::to_string(fileSize) +
                                " bytes, is not a whole number of its " + std::to_string(pageSize) +
                                "-byte pages" + damaged);
    // The page count in the header is valid only when its change counter
    // agrees with the version that wrote it.
    const std::uint64_t declaredPages = bigEndian(&header[28], 4);
    const bool countValid = bigEndian(&header[24], 4) == bigEndian(&header[92], 4);
    if (countValid && declaredPages > 0 && fileSize < declaredPages * pageSize)
        throw databaseError(Kind::damaged, path,
                            "it is " + std::to_string(fileSize) +
                                " bytes long, but its header "
                                "declares " +
                                std::to_string(declaredPages) + " pages of " +
                                std::to_string(pageSize) + " bytes (" +
                                std::to_string(declaredPages * pageSize) + " bytes)" + damaged);
    return pageSize;
}

} // namespace

DatabaseFile::DatabaseFile(const std::string& path) : path_(path)
{
    if (path.empty())
        throw databaseError(Kind::fileMissing, path, "file not found");
    if (path.find('\0') != std::string::npos)
        throw databaseError(Kind::cannotOpen, path, "the path contains a NUL character");
    // A link is followed: only what it leads to is read, and that is checked.
    fd_ = openWithoutBlocking(path, 0);
    if (fd_ < 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw databaseError(Kind::fileMissing, path, "file not found");
        throw databaseError(Kind::cannotOpen, path, std::strerror(errno));
    }
    try {
        struct stat status
        {};
        if (::fstat(fd_, &status) != 0)
            throw databaseError(Kind::cannotOpen, path, std::strerror(errno));
        if (S_ISDIR(status.st_mode))
            throw databaseError(Kind::cannotOpen, path, "it is a directory, not a file");
        if (!S_ISREG(status.st_mode))
            throw databaseError(Kind::cannotOpen, path,
                                "it is " + std::string(fileTypeText(status.st_mode)) +
                                    ", not a regular file");
        // SQLite takes an empty file for an empty database, which would be
        // reported as a missing table.
        if (status.st_size == 0)
            throw databaseError(Kind::notADatabase, path,
                                "the file is empty, not an SQLite 3 database");
        if (static_cast<std::uint64_t>(status.st_size) > largestFileBytes)
            throw databaseError(Kind::tooMuchWork, path,
                                "it is " + std::to_string(status.st_size >> 20) +
                                    " MiB long, far larger than any strength-class table; the "
                                    "program reads at most " +
                                    std::to_string(largestFileBytes >> 20) + " MiB");
        pageSize_ = checkHeader(path, fd_, static_cast<std::uint64_t>(status.st_size));
        for (const std::string_view suffix : {"-journal", "-wal", "-shm"})
            checkSideFile(path, suffix);
    } catch (...) {
        ::close(fd_);
        throw;
    }
}

DatabaseFile::~DatabaseFile()
{
    ::close(fd_);
}

std::string DatabaseFile::fingerprint() const
{
    sha256_ctx context{};
    sha256_init(&context);
    std::array<unsigned char, 1 << 16> buffer{};
    for (off_t offset = 0;;) {
        const ssize_t got = ::pread(fd_, buffer.data(), buffer.size(), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw databaseError(Kind::readFailed, path_, std::strerror(errno));
        if (got == 0)
            break;
        if (static_cast<std::uint64_t>(offset + got) > largestFileBytes)
            throw databaseError(Kind::tooMuchWork, path_,
                                "it grew beyond " + std::to_string(largestFileBytes >> 20) +
                                    " MiB while it was read");
        sha256_update(&context, static_cast<std::size_t>(got), buffer.data());
        offset += got;
    }
    std::array<std::uint8_t, SHA256_DIGEST_SIZE> digest{};
    sha256_digest(&context, digest.size(), digest.data());
    static constexpr char hexDigits[] = "0123456789abcdef";
    std::string hex;
    for (const std::uint8_t byte : digest) {
        hex += hexDigits[byte >> 4];
        hex += hexDigits[byte & 0xF];
    }
    return hex;
}

} // namespace materials
