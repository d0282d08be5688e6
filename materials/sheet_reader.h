#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "materials/field_value.h"

namespace materials {

// The whole of table "Sheet1" as stored, rows in stored order.
struct SheetContents
{
    std::vector<std::string> fieldNames;
    std::vector<FieldValue> values; // row by row
    std::int32_t rowCount = 0;

    const FieldValue& value(std::int32_t row, std::size_t field) const
    {
        return values[static_cast<std::size_t>(row) * fieldNames.size() + field];
    }
};

// Reads table "Sheet1" of the SQLite database at `path` whole. The file is
// untrusted and only ever read: it is opened read only and immutable, so no
// journal, WAL or shm file is created and nothing is locked or written; it is
// not held open afterwards. Throws DatabaseError.
SheetContents readSheet(const std::string& path);

} // namespace materials
