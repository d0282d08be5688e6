#include "materials/database_error.h"

namespace materials {

DatabaseError::DatabaseError(DatabaseErrorKind kind, std::string message)
    : std::runtime_error(std::move(message)), kind_(kind)
{}

} // namespace materials
