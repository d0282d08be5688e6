#include "materials/shipped_table.h"

#include "materials/program_directory.h"
#include "materials/shipped_table_sha256.h"

namespace materials {

std::string tablePath(const std::filesystem::path& directory, joist::TableChoice choice)
{
    const std::string shipped = databasePath(directory);
    return shipped.substr(0, shipped.size() - databaseFileName.size()) +
           std::string(shippedTableOf(choice).fileName);
}

std::optional<joist::TableChoice> shippedTableOfFingerprint(std::string_view fingerprint)
{
    if (fingerprint == shippedTableSha256)
        return joist::TableChoice::shipped;
    if (fingerprint == en338_2016TableSha256)
        return joist::TableChoice::en338_2016;
    if (fingerprint == en14080TableSha256)
        return joist::TableChoice::en14080;
    return std::nullopt;
}

bool isShippedTable(std::string_view fingerprint)
{
    return shippedTableOfFingerprint(fingerprint).has_value();
}

} // namespace materials
