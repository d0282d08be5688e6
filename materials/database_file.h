#pragma once

// Checks the database file before SQLite reads it: a regular, whole, modest
// file, never a pipe, device or link.

#include <cstdint>
#include <string>

namespace materials {

// A full strength-class table takes a few MiB; this bounds the bytes the
// reader takes from a file, whatever the file makes SQLite do.
inline constexpr std::uint64_t largestFileBytes = 64u << 20;

// The strength-class database, opened once without blocking and checked. The
// reader hands this descriptor to SQLite, which opens nothing by name, so the
// file checked is the file read: it cannot be swapped for a named pipe in
// between.
class DatabaseFile
{
public:
    // The file must be a regular file of at most largestFileBytes whose SQLite
    // header is sound and whose length is the one the header declares; a
    // "-journal", "-wal" or "-shm" beside it must be a regular file, and
    // neither journal may hold unfinished changes. Throws DatabaseError.
    explicit DatabaseFile(const std::string& path);
    ~DatabaseFile();
    DatabaseFile(const DatabaseFile&) = delete;
    DatabaseFile& operator=(const DatabaseFile&) = delete;

    int descriptor() const { return fd_; }
    std::uint32_t pageSize() const { return pageSize_; }

    // The SHA-256 digest of the file's bytes, 64 lowercase hex digits. Throws
    // DatabaseError when the file cannot be read.
    std::string fingerprint() const;

private:
    std::string path_;
    int fd_ = -1;
    std::uint32_t pageSize_ = 0;
};

} // namespace materials
