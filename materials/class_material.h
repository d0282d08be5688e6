#pragma once

// What the current class is made of and its rho k, read with its values.

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
};

// Makes the connection read "Material" and "rk" where the table has them.
// Call before it opens.
void readMaterialFields(StrengthClassConnection& connection);

// The current row's material: the "Material" field where the table has one
// (unknown for a text it does not name), else as EN 338 names the class.
ClassMaterial currentMaterial(const StrengthClassConnection& connection);

} // namespace materials
