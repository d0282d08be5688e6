#include "materials/class_material.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <variant>

#include "materials/shipped_table.h"
#include "materials/strength_class_sequences.h"

namespace materials {

void readMaterialFields(StrengthClassConnection& connection)
{
    connection.readOptionalField(std::string(materialFieldName));
    connection.readOptionalField("rk");
}

ClassMaterial currentMaterial(const StrengthClassConnection& connection)
{
    ClassMaterial read;
    if (!connection.isOpen() || connection.currentRow() < 0 ||
        connection.currentRow() >= connection.recordCount())
        return read;
    read.tablePresumesKcr = materials::shippedTableOfFingerprint(connection.fingerprint()) !=
                            joist::TableChoice::shipped;
    const auto text = [&](std::string_view field) -> const std::string* {
        return std::get_if<std::string>(&connection.fieldValue(field).value);
    };
    if (connection.hasField(materialFieldName)) {
        if (const std::string* named = text(materialFieldName))
            read.material = joist::materialNamed(*named).value_or(joist::Material::unknown);
    } else if (const std::string* name = text("Class")) {
        read.material = joist::materialOfEn338Name(*name);
    }
    const FieldValue& rk = connection.fieldValue("rk");
    if (const auto* real = std::get_if<double>(&rk.value))
        read.rhoK = std::abs(*real) <= std::numeric_limits<float>::max()
                        ? static_cast<float>(*real)
                        : std::numeric_limits<float>::infinity();
    else if (const auto* whole = std::get_if<std::int64_t>(&rk.value))
        read.rhoK = static_cast<float>(*whole);
    return read;
}

std::optional<ClassMaterial> materialOfClass(const std::string& path, std::string_view className)
{
    CollectedNames list;
    StrengthClassConnection connection;
    readMaterialFields(connection);
    fillStrengthClassList(connection, list, path);
    const auto found = std::find(list.names.begin(), list.names.end(), className);
    if (found == list.names.end())
        return std::nullopt;
    list.selected = int(found - list.names.begin());
    selectStrengthClass(connection, list, list);
    return currentMaterial(connection);
}

} // namespace materials
