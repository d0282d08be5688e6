#include "materials/strength_class_sequences.h"

#include <unordered_set>

#include "materials/strength_class_fields.h"

namespace materials {
namespace {

using Kind = DatabaseErrorKind;

std::optional<std::string> currentClassName(const StrengthClassConnection& connection)
{
    return fieldText(connection.fieldValue(classFieldPosition), connection.decimalSeparator());
}

std::string currentClassNameOrThrow(const StrengthClassConnection& connection)
{
    std::optional<std::string> name = currentClassName(connection);
    if (!name)
        throw databaseError(Kind::missingClassName, connection.messagePath(),
                            "of table " + quotedText(tableName) +
                                " has no class name (the field \"Class\" holds no value)",
                            {.row = connection.currentRow()});
    return std::move(*name);
}

// A selection of the main window's class list without a row behind it.
DatabaseError noRowSelected(const StrengthClassConnection& connection, int index,
                            std::string_view cause)
{
    return databaseError(Kind::selectedRowMissing, connection.messagePath(),
                         index < 0 ? std::string("no entry of the class list is selected")
                                   : std::string(cause) +
                                         "the table has no row for the selected class (entry " +
                                         std::to_string(index + 1) + " of the class list)");
}

DatabaseError namedTwice(const std::string& path, std::string_view name,
                         const std::vector<std::size_t>& rows)
{
    std::string where;
    for (std::size_t i = 0; i < rows.size(); ++i)
        where += (i == 0                 ? ""
                  : i + 1 == rows.size() ? " and "
                                         : ", ") +
                 std::to_string(rows[i] + 1);
    return databaseError(
        Kind::classNamedTwice, path,
        "class " + quotedText(name) + " is named " +
            (rows.size() == 2 ? std::string("twice") : std::to_string(rows.size()) + " times") +
            " (rows " + where +
            "), and a design names its class alone: designs of that class "
            "cannot be opened, saved or checked until each row has a name of "
            "its own");
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
    // 16-bit count and counter, as the list's own index is; the connection
    // holds at most 32,766 rows, so the counter's last step, to n + 1, fits.
    const auto n = static_cast<std::int16_t>(connection.recordCount());
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
        throw noRowSelected(connection, index, "");
    connection.moveFirst();
    connection.move(index);
    classLabel.setText(currentClassNameOrThrow(connection));
}

void positionOnSelectedClass(StrengthClassConnection& connection, const std::string& path,
                             int selectedIndex)
{
    connection.setPath(path);
    connection.open();
    if (selectedIndex < 0 || selectedIndex >= connection.recordCount())
        throw noRowSelected(connection, selectedIndex,
                            "it has changed since the program listed its classes: ");
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
    if (connection.currentRow() < 0 || connection.currentRow() >= connection.recordCount())
        return databaseError(Kind::noCurrentRow, connection.messagePath(),
                             "cannot read the field " + quotedText(fieldName) +
                                 ": there is no current row");
    const std::optional<std::string> className = currentClassName(connection);
    const std::optional<std::string> text =
        fieldText(connection.fieldValue(fieldName), connection.decimalSeparator());
    return databaseError(
        Kind::nonNumericValue, connection.messagePath(),
        "must hold a number that the program can read, but it " +
            (!text           ? std::string("is empty")
             : text->empty() ? std::string("holds an empty text")
                             : "holds " + quotedText(*text)),
        {.row = connection.currentRow(), .className = className, .field = fieldName});
}

std::vector<std::string> classNames(const std::string& path)
{
    CollectedNames list;
    StrengthClassConnection connection;
    fillStrengthClassList(connection, list, path);
    return std::move(list.names);
}

std::optional<DatabaseError> classNamedTwice(const std::vector<std::string>& names,
                                             std::string_view name, const std::string& path)
{
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; row < names.size(); ++row)
        if (names[row] == name)
            rows.push_back(row);
    if (rows.size() < 2)
        return std::nullopt;
    return namedTwice(path, name, rows);
}

std::optional<DatabaseError> anyClassNamedTwice(const std::vector<std::string>& names,
                                                const std::string& path)
{
    std::unordered_set<std::string_view> seen;
    for (const std::string& name : names)
        if (!seen.insert(name).second)
            return classNamedTwice(names, name, path);
    return std::nullopt;
}

} // namespace materials
