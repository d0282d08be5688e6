#pragma once

#include <stdexcept>
#include <string>

namespace materials {

enum class DatabaseErrorKind {
    fileMissing,
    cannotOpen,
    notADatabase,
    tableMissing,
    fieldMissing,
    emptyTable,
    tooManyRows,
    missingClassName,
    classNotFound,
    nonNumericValue,
    noCurrentRow,
    readFailed,
};

// A failure to open or read the strength-class database. The message is meant
// for the user: it names the file's full path, the problem and, where it
// applies, the row and the field.
class DatabaseError : public std::runtime_error
{
public:
    DatabaseError(DatabaseErrorKind kind, std::string message);
    DatabaseErrorKind kind() const { return kind_; }

private:
    DatabaseErrorKind kind_;
};

} // namespace materials
