#include "materials/strength_class_sequences.h"

#include "materials/error_text.h"
#include "materials/strength_class_fields.h"

namespace materials {
namespace {

std::string databaseText(const StrengthClassConnection& connection)
{
    return "The strength-class database " + displayPath(connection.messagePath());
}

std::optional<std::string> currentClassName(const StrengthClassConnection& connection)
{
    return fieldText(connection.fieldValue(classFieldPosition), connection.decimalSeparator());
}

std::string currentClassNameOrThrow(const StrengthClassConnection& connection)
{
    std::optional<std::string> name = currentClassName(connection);
    if (!name)
        throw DatabaseError(DatabaseErrorKind::missingClassName,
                            databaseText(connection) + ": " +
                                rowDescription(connection.currentRow(), nullptr) +
                                " of table \"Sheet1\" has no class name (the field \"Class\" "
                                "holds no value)");
    return std::move(*name);
}

} // namespace

void fillStrengthClassList(StrengthClassConnection& connection, ClassList& list,
                           const std::string& path)
{
    list.clear();
    connection.setPath(path);
    connection.open();
    connection.moveLast();
    connection.moveFirst();
    const std::int32_t count = connection.recordCount();
    if (count > largestClassCount)
        throw DatabaseError(DatabaseErrorKind::tooManyRows,
                            databaseText(connection) + ": table \"Sheet1\" has " +
                                std::to_string(count) +
                                " rows, but the strength-class list holds at most " +
                                std::to_string(largestClassCount));
    // 16-bit count and counter, as the list's own index is; the check above
    // keeps the counter's last step, to n + 1, within range.
    const auto n = static_cast<std::int16_t>(count);
    for (std::int16_t i = 1; i <= n; ++i) {
        list.append(currentClassNameOrThrow(connection));
        connection.moveNext();
    }
}

void selectStrengthClass(StrengthClassConnection& connection, const ClassList& list,
                         ClassNameLabel& classLabel)
{
    const int index = list.selectedIndex();
    // Checked before moving, so that a failed selection leaves the labels on
    // the class they show.
    if (connection.isOpen() && (index < 0 || index >= connection.recordCount()))
        throw DatabaseError(DatabaseErrorKind::noCurrentRow,
                            "Cannot select a strength class from the strength-class database " +
                                displayPath(connection.messagePath()) + ": " +
                                (index < 0 ? std::string("no entry of the class list is selected")
                                           : "the table has no row for entry " +
                                                 std::to_string(index + 1) + " of the class list"));
    connection.moveFirst();
    connection.move(index);
    classLabel.setText(currentClassNameOrThrow(connection));
}

void positionOnSelectedClass(StrengthClassConnection& connection, const std::string& path,
                             int selectedIndex)
{
    connection.setPath(path);
    connection.open();
    connection.moveFirst();
    connection.move(selectedIndex);
}

void closeDatabase(StrengthClassConnection& connection)
{
    connection.close();
}

DatabaseError nonNumericFieldError(const StrengthClassConnection& connection,
                                   std::string_view fieldName)
{
    if (!connection.isOpen() || connection.beforeFirst() || connection.afterLast())
        return DatabaseError(
            DatabaseErrorKind::noCurrentRow,
            "Cannot read the field " + quotedText(fieldName) + " of the strength-class database " +
                displayPath(connection.messagePath()) + ": there is no current row");
    const std::optional<int> position = connection.fieldPosition(fieldName);
    if (!position)
        return DatabaseError(DatabaseErrorKind::fieldMissing,
                             databaseText(connection) + ": table \"Sheet1\" has no field " +
                                 quotedText(fieldName));
    const std::optional<std::string> className = currentClassName(connection);
    const std::optional<std::string> text =
        fieldText(connection.fieldValue(*position), connection.decimalSeparator());
    return DatabaseError(
        DatabaseErrorKind::nonNumericValue,
        databaseText(connection) + ": the field " + quotedText(fieldName) + " of " +
            rowDescription(connection.currentRow(), className ? &*className : nullptr) +
            " must hold a number that the program can read, but it " +
            (!text           ? std::string("is empty")
             : text->empty() ? std::string("holds an empty text")
                             : "holds " + quotedText(*text)));
}

DatabaseError classNotFoundError(const StrengthClassConnection& connection,
                                 std::string_view className)
{
    return DatabaseError(DatabaseErrorKind::classNotFound,
                         databaseText(connection) + " has no row whose class is " +
                             quotedText(className) +
                             "; the program starts with that class selected");
}

} // namespace materials
