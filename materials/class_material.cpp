#include "materials/class_material.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <variant>

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

} // namespace materials
