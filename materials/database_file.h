#pragma once

// Checks the database file before SQLite reads it: a regular, whole, modest
// file, never a pipe, device or link.

#include <cstdint>
#include <string>

namespace materials {

// A full strength-class table takes a few MiB; this bounds the bytes the
// reader takes from a file, whatever the file makes SQLite do.
inline constexpr std::uint64_t largestFileBytes = 64u << 20;

// Checks the database file and the side files beside it before SQLite sees
// them, without ever blocking: the file must be a regular file of at most
// largestFileBytes whose SQLite header is sound and whose length is the one
// the header declares; a
// "-journal", "-wal" or "-shm" beside it must be a regular file, and neither
// journal may hold unfinished changes. Returns the file's page size. Throws
// DatabaseError.
std::uint32_t checkDatabaseFile(const std::string& path);

} // namespace materials
