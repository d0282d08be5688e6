#include "materials/shipped_table.h"

#include <algorithm>

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

std::string modifiedTableNotice(std::string_view path)
{
    std::string_view edition = shippedTableOf(joist::TableChoice::shipped).edition;
    const std::string_view fileName =
        path.substr(std::min(path.find_last_of('/') + 1, path.size()));
    for (const ShippedTable& table : shippedTables)
        if (table.fileName == fileName)
            edition = table.edition;
    return "modified table: values may differ from " + std::string(edition);
}

bool isShippedTable(std::string_view fingerprint)
{
    return shippedTableOfFingerprint(fingerprint).has_value();
}

} // namespace materials
