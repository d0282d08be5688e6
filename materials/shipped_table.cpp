#include "materials/shipped_table.h"

#include "materials/shipped_table_sha256.h"

namespace materials {

bool isShippedTable(std::string_view fingerprint)
{
    return fingerprint == shippedTableSha256;
}

} // namespace materials
