# cmake -DDATABASE=<file> -DEN338_2016=<file> -DEN14080=<file> -DHEADER=<file>
#       -P write_table_digest.cmake
# Writes the SHA-256 of each table built from its SQL source as a C++
# header, so the program knows the tables it ships.
file(SHA256 ${DATABASE} digest)
file(SHA256 ${EN338_2016} en338_2016_digest)
file(SHA256 ${EN14080} en14080_digest)
file(WRITE ${HEADER}.new
"#pragma once
// Generated at build time from ZU5ZO.mdb, EN338-2016.mdb and EN14080.mdb; do
// not edit.

#include <string_view>

namespace materials {

inline constexpr std::string_view shippedTableSha256 = \"${digest}\";
inline constexpr std::string_view en338_2016TableSha256 = \"${en338_2016_digest}\";
inline constexpr std::string_view en14080TableSha256 = \"${en14080_digest}\";

} // namespace materials
")
file(COPY_FILE ${HEADER}.new ${HEADER} ONLY_IF_DIFFERENT)
file(REMOVE ${HEADER}.new)
