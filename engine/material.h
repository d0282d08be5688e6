#pragma once

// What a strength class is made of, as its table says: it decides which of
// the amended rules' factors apply.

#include <array>
#include <optional>
#include <string_view>

#include "engine/enum_count.h"

namespace joist {

enum class Material {
    unknown, // a table that does not say, for a class whose name does not tell
    softwood,
    hardwood,
    glulam,
    count, // how many there are
};

// The texts of the table's "Material" field, in the enum's order.
inline constexpr auto materialTexts =
    std::to_array<std::string_view>({"", "softwood", "hardwood", "glulam"});
static_assert(materialTexts.size() == enumCount<Material>, "materialTexts: one text per Material");

constexpr std::string_view materialText(Material material)
{
    return materialTexts[static_cast<std::size_t>(material)];
}

// The material a "Material" field names, or none for any other text.
constexpr std::optional<Material> materialNamed(std::string_view text)
{
    for (std::size_t i = 1; i < materialTexts.size(); ++i) {
        if (materialTexts[i] == text)
            return static_cast<Material>(i);
    }
    return std::nullopt;
}

// A table without the field (ZU5ZO.mdb, or one edited by hand): EN 338 names
// softwood classes C and hardwood classes D; any other name is unknown.
constexpr Material materialOfEn338Name(std::string_view className)
{
    if (className.starts_with('C'))
        return Material::softwood;
    if (className.starts_with('D'))
        return Material::hardwood;
    return Material::unknown;
}

constexpr bool isSolidTimber(Material material)
{
    return material == Material::softwood || material == Material::hardwood;
}

} // namespace joist
