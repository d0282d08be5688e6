#pragma once
// The table the program ships, known by the SHA-256 of its file, and the
// notice shown for any other.

#include <cstddef>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "engine/design_basis.h"
#include "engine/enum_count.h"

namespace materials {

// The tables beside the program that a design basis chooses from, in the
// choice's order: the file and the standard and edition it holds.
struct ShippedTable
{
    joist::TableChoice choice;
    std::string_view fileName;
    std::string_view edition;
};
inline constexpr ShippedTable shippedTables[] = {
    {joist::TableChoice::shipped, "ZU5ZO.mdb", "EN 338:2003"},
    {joist::TableChoice::en338_2016, "EN338-2016.mdb", "EN 338:2016"},
    {joist::TableChoice::en14080, "EN14080.mdb", "EN 14080:2013"},
};
static_assert(
    [] {
        bool inOrder = std::size(shippedTables) == joist::enumCount<joist::TableChoice>;
        for (std::size_t i = 0; i < std::size(shippedTables); ++i)
            inOrder = inOrder && static_cast<std::size_t>(shippedTables[i].choice) == i;
        return inOrder;
    }(),
    "shippedTables: one row for each table choice, in the choice's order");

constexpr const ShippedTable& shippedTableOf(joist::TableChoice choice)
{
    return shippedTables[static_cast<std::size_t>(choice)];
}

// The chosen table's file in the program's folder, joined as databasePath.
std::string tablePath(const std::filesystem::path& directory, joist::TableChoice choice);

// The shipped table a fingerprint is, or none for any other file.
std::optional<joist::TableChoice> shippedTableOfFingerprint(std::string_view fingerprint);

// A user may edit the table on purpose: this informs, it does not refuse. It
// names the edition of the shipped table of that file name; any other file,
// EN 338:2003's.
std::string modifiedTableNotice(std::string_view path);

// Whether a file's fingerprint (see DatabaseFile) is one of the shipped tables'.
bool isShippedTable(std::string_view fingerprint);

} // namespace materials
