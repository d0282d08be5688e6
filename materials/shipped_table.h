#pragma once
// The table the program ships, known by the SHA-256 of its file, and the
// notice shown for any other.

#include <string_view>

namespace materials {

// A user may edit the table on purpose: this informs, it does not refuse.
inline constexpr std::string_view modifiedTableNotice =
    "modified table: values may differ from EN 338:2003";

// Whether a file's fingerprint (see DatabaseFile) is the shipped table's.
bool isShippedTable(std::string_view fingerprint);

} // namespace materials
