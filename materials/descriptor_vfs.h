#pragma once
// An SQLite VFS that reads the main database through a descriptor opened and
// checked beforehand, and opens no file by name.

#include <string>

namespace materials {

// The VFS's name for sqlite3_open_v2, registered on first use (not as the
// default).
const char* descriptorVfsName();

// The URI parameter that hands the VFS the descriptor: "&descriptor=N".
std::string descriptorUriParameter(int fd);

} // namespace materials
