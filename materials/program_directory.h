#pragma once

// Where the strength-class table is: "ZU5ZO.mdb" in the program's own folder.

#include <filesystem>
#include <string>
#include <string_view>

namespace materials {

inline constexpr std::string_view databaseFileName = "ZU5ZO.mdb";

// The directory of the real executable, symlinks resolved. Throws
// DatabaseError (programDirectoryMissing) if the system cannot tell.
std::filesystem::path programDirectory();

// The directory, the platform's separator and "ZU5ZO.mdb", joined as text.
std::string databasePath(const std::filesystem::path& directory);

} // namespace materials
