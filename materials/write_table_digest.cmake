# cmake -DDATABASE=<file> -DHEADER=<file> -P write_table_digest.cmake
# Writes the SHA-256 of the database built from strength_classes.sql as a
# C++ header, so the program knows the table it ships.
file(SHA256 ${DATABASE} digest)
file(WRITE ${HEADER}.new
"#pragma once
// Generated at build time from ZU5ZO.mdb; do not edit.

#include <string_view>

namespace materials {

inline constexpr std::string_view shippedTableSha256 = \"${digest}\";

} // namespace materials
")
file(COPY_FILE ${HEADER}.new ${HEADER} ONLY_IF_DIFFERENT)
file(REMOVE ${HEADER}.new)
