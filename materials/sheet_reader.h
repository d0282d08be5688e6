#pragma once

// Reads the table "Sheet1" into memory within bounds of time, memory and size.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "materials/field_value.h"

namespace materials {

// The fields of table "Sheet1" that a connection reads, rows in stored order.
struct SheetContents
{
    std::vector<std::string> fieldNames; // "Class" first
    std::vector<int> fieldPositions;     // each field's position in the table, -1 when absent
    std::vector<bool> optional;          // may be absent: then null in every row
    std::vector<FieldValue> values;      // row by row
    std::int32_t rowCount = 0;
    std::string fingerprint; // the file's SHA-256, in hex

    const FieldValue& value(std::int32_t row, std::size_t field) const
    {
        return values[static_cast<std::size_t>(row) * fieldNames.size() + field];
    }
    std::optional<std::size_t> field(std::string_view name) const;
};

// Reads the field "Class", which must be the table's field at position 1, and
// the named fields of table "Sheet1" of the SQLite database at `path`; no
// other field is read. The file is untrusted: it is opened once and checked
// (see DatabaseFile), read through that descriptor, read only and immutable,
// so nothing is created, locked or written, and not held open afterwards. The
// work is bounded: a schema of more than 1,000 entries is refused, so is a
// class name of more than longestClassName characters and a table of more
// than 32,766 rows at its 32,767th, and reading stops with a message once it
// would take more than about a second or 64 MiB of memory. Throws
// DatabaseError. An `optional` field the table lacks is read as null in
// every row.
SheetContents readSheet(const std::string& path, const std::vector<std::string>& fields,
                        const std::vector<std::string>& optional = {});

} // namespace materials
