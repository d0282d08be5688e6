#pragma once

// The strength-class table's errors: one kind per failure and a message that
// names the file and says what is wrong, built in one place.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace materials {

enum class DatabaseErrorKind {
    programDirectoryMissing,
    fileMissing,
    cannotOpen,
    notADatabase,
    damaged,
    tableMissing,
    fieldMissing,
    generatedField,
    tooMuchWork,
    emptyTable,
    tooManyRows,
    missingClassName,
    longClassName,
    classNamedTwice,
    nonNumericValue,
    noCurrentRow,
    selectedRowMissing,
    changedSinceRead,
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

// Where in table "Sheet1" a problem lies; each part is optional.
struct TablePlace
{
    std::optional<std::int64_t> row = {}; // counted from 0
    std::optional<std::string> className = {};
    std::string_view field = {};
};

// Every DatabaseError is built here: "<what failed> <path>: [field "F" of]
// [row N (class "C")] <problem>". The path is shown absolute.
DatabaseError databaseError(DatabaseErrorKind kind, const std::string& path,
                            std::string_view problem, const TablePlace& place = {});

// Text from the file in double quotes: control characters are escaped, so
// that what() holds it all, and a very long text is cut, since the file is
// untrusted. The window prepares the whole message for the screen.
std::string quotedText(std::string_view text);

} // namespace materials
