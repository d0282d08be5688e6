#pragma once

// What the current class is made of, its rho k and what its table's edition
// presumes, read with its values.

#include <optional>
#include <string>
#include <string_view>

#include "engine/material.h"
#include "materials/strength_class_connection.h"

namespace materials {

// The field that names the material in the tables beside ZU5ZO.mdb.
inline constexpr std::string_view materialFieldName = "Material";

struct ClassMaterial
{
    joist::Material material = joist::Material::unknown;
    float rhoK = 0; // kg/m3; 0 when the table gives no number
    // Any table but the unchanged EN 338:2003 file, whose fv,k alone was set
    // without kcr.
    bool tablePresumesKcr = true;
};

// Makes the connection read "Material" and "rk" where the table has them.
// Call before it opens.
void readMaterialFields(StrengthClassConnection& connection);

// The current row's material: the "Material" field where the table has one
// (unknown for a text it does not name), else as EN 338 names the class;
// with its rho k and whether its table presumes kcr.
ClassMaterial currentMaterial(const StrengthClassConnection& connection);

// The material of the first class of that name in the table at `path`, or
// none when the table lacks the class. Throws DatabaseError.
std::optional<ClassMaterial> materialOfClass(const std::string& path, std::string_view className);

} // namespace materials
