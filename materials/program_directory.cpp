#include "materials/program_directory.h"

#include <system_error>

#include "materials/database_error.h"

namespace materials {

std::filesystem::path programDirectory()
{
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::canonical("/proc/self/exe", error);
    if (error)
        throw databaseError(
            DatabaseErrorKind::programDirectoryMissing, std::string(databaseFileName),
            "the system cannot tell where the program is (" + error.message() + ")");
    return executable.parent_path();
}

std::string databasePath(const std::filesystem::path& directory)
{
    // Joined as plain text, like the original's "\ZU5ZO.mdb"; a backslash
    // would be part of the file name here.
    std::string path = directory.native();
    path += std::filesystem::path::preferred_separator;
    path += databaseFileName;
    return path;
}

} // namespace materials
