#include "materials/strength_class_connection.h"

#include <algorithm>

#include "materials/database_error.h"
#include "materials/error_text.h"
#include "materials/strength_class_fields.h"

namespace materials {
namespace {

std::string databaseText(const std::string& path)
{
    return "The strength-class database " + displayPath(path);
}

std::optional<std::size_t> findField(const SheetContents& sheet, std::string_view name)
{
    const auto found = std::find(sheet.fieldNames.begin(), sheet.fieldNames.end(), name);
    if (found == sheet.fieldNames.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - sheet.fieldNames.begin());
}

std::string quotedList(const std::vector<std::string_view>& names)
{
    std::string text;
    for (const std::string_view name : names)
        text += (text.empty() ? "" : ", ") + quotedText(name);
    return text;
}

// Both windows read the class name, one by position and one by name, and show
// the twelve properties: a table without them is refused as a whole.
void requireStrengthClassFields(const SheetContents& sheet, const std::string& path)
{
    const std::optional<std::size_t> classField = findField(sheet, classFieldName);
    if (classField && *classField != classFieldPosition)
        throw DatabaseError(DatabaseErrorKind::fieldMissing,
                            databaseText(path) + ": the field \"Class\" must be field " +
                                std::to_string(classFieldPosition + 1) +
                                " of table \"Sheet1\", but it is field " +
                                std::to_string(*classField + 1));
    std::vector<std::string_view> missing;
    if (!classField)
        missing.push_back(classFieldName);
    for (const std::string_view name : propertyFieldNames) {
        if (!findField(sheet, name))
            missing.push_back(name);
    }
    if (!missing.empty())
        throw DatabaseError(DatabaseErrorKind::fieldMissing,
                            databaseText(path) + ": table \"Sheet1\" has no field" +
                                (missing.size() > 1 ? "s " : " ") + quotedList(missing) +
                                " (field names must match exactly, commas included)");
}

} // namespace

StrengthClassConnection::StrengthClassConnection(std::string decimalSeparator)
    : decimalSeparator_(std::move(decimalSeparator))
{}

void StrengthClassConnection::setPath(std::string path)
{
    path_ = std::move(path);
}

void StrengthClassConnection::bind(std::string fieldName, Binding callback)
{
    BoundLabel label{std::move(fieldName), std::move(callback)};
    if (sheet_) {
        resolveBinding(label, *sheet_);
        refresh(label);
    }
    bindings_.push_back(std::move(label));
}

void StrengthClassConnection::open()
{
    close();
    try {
        SheetContents sheet = readSheet(path_);
        requireStrengthClassFields(sheet, path_);
        for (BoundLabel& label : bindings_)
            resolveBinding(label, sheet);
        sheet_ = std::move(sheet);
        openedPath_ = path_;
        cursor_ = 0;
    } catch (const DatabaseError&) {
        refreshAll(); // nothing to show: no label keeps a value from before
        throw;
    }
    refreshAll();
}

void StrengthClassConnection::close()
{
    sheet_.reset();
    cursor_ = -1;
}

void StrengthClassConnection::moveFirst()
{
    requireOpen("move to the first row of");
    if (sheet_->rowCount == 0)
        throw DatabaseError(DatabaseErrorKind::emptyTable,
                            databaseText(openedPath_) + ": table \"Sheet1\" has no rows");
    cursor_ = 0;
    refreshAll();
}

void StrengthClassConnection::moveLast()
{
    requireOpen("move to the last row of");
    if (sheet_->rowCount == 0)
        throw DatabaseError(DatabaseErrorKind::emptyTable,
                            databaseText(openedPath_) + ": table \"Sheet1\" has no rows");
    cursor_ = sheet_->rowCount - 1;
    refreshAll();
}

void StrengthClassConnection::moveNext()
{
    requireOpen("move to the next row of");
    if (afterLast())
        throw DatabaseError(DatabaseErrorKind::noCurrentRow,
                            "Cannot move to the next row of the strength-class database " +
                                displayPath(openedPath_) + ": the cursor is after the last row");
    ++cursor_;
    refreshAll();
}

void StrengthClassConnection::move(std::int32_t n)
{
    requireCurrentRow("move in");
    const std::int64_t target = cursor_ + n; // cannot overflow in 64 bits
    const std::int64_t count = sheet_->rowCount;
    cursor_ = target < 0 ? -1 : std::min(target, count);
    refreshAll();
}

std::int32_t StrengthClassConnection::recordCount() const
{
    return sheet_ ? sheet_->rowCount : 0;
}

bool StrengthClassConnection::beforeFirst() const
{
    return !sheet_ || sheet_->rowCount == 0 || cursor_ < 0;
}

bool StrengthClassConnection::afterLast() const
{
    return !sheet_ || cursor_ >= sheet_->rowCount;
}

std::int32_t StrengthClassConnection::currentRow() const
{
    return static_cast<std::int32_t>(cursor_);
}

int StrengthClassConnection::fieldCount() const
{
    return sheet_ ? static_cast<int>(sheet_->fieldNames.size()) : 0;
}

std::optional<int> StrengthClassConnection::fieldPosition(std::string_view name) const
{
    if (!sheet_)
        return std::nullopt;
    const std::optional<std::size_t> field = findField(*sheet_, name);
    if (!field)
        return std::nullopt;
    return static_cast<int>(*field);
}

const FieldValue& StrengthClassConnection::fieldValue(int position) const
{
    requireCurrentRow("read");
    if (position < 0 || position >= fieldCount())
        throw DatabaseError(DatabaseErrorKind::fieldMissing,
                            databaseText(openedPath_) + ": table \"Sheet1\" has no field " +
                                std::to_string(position + 1) + " (it has " +
                                std::to_string(fieldCount()) + ")");
    return sheet_->value(static_cast<std::int32_t>(cursor_), static_cast<std::size_t>(position));
}

const FieldValue& StrengthClassConnection::fieldValue(std::string_view name) const
{
    requireCurrentRow("read");
    const std::optional<int> position = fieldPosition(name);
    if (!position)
        throw DatabaseError(DatabaseErrorKind::fieldMissing,
                            databaseText(openedPath_) + ": table \"Sheet1\" has no field " +
                                quotedText(name));
    return fieldValue(*position);
}

void StrengthClassConnection::resolveBinding(BoundLabel& label, const SheetContents& sheet) const
{
    const std::optional<std::size_t> field = findField(sheet, label.fieldName);
    if (!field)
        throw DatabaseError(DatabaseErrorKind::fieldMissing,
                            databaseText(messagePath()) + ": table \"Sheet1\" has no field " +
                                quotedText(label.fieldName) +
                                ", which a label shows (field names must match exactly, commas "
                                "included)");
    label.field = *field;
}

void StrengthClassConnection::refresh(BoundLabel& label) const
{
    std::string text;
    if (onRow()) {
        const FieldValue& value = sheet_->value(static_cast<std::int32_t>(cursor_), label.field);
        text = fieldText(value, decimalSeparator_).value_or(std::string());
    }
    label.callback(text);
}

void StrengthClassConnection::refreshAll()
{
    for (BoundLabel& label : bindings_)
        refresh(label);
}

bool StrengthClassConnection::onRow() const
{
    return sheet_ && cursor_ >= 0 && cursor_ < sheet_->rowCount;
}

void StrengthClassConnection::requireOpen(std::string_view action) const
{
    if (!sheet_)
        throw DatabaseError(DatabaseErrorKind::noCurrentRow,
                            "Cannot " + std::string(action) + " the strength-class database " +
                                displayPath(path_) + ": it is not open");
}

void StrengthClassConnection::requireCurrentRow(std::string_view action) const
{
    requireOpen(action);
    if (!onRow())
        throw DatabaseError(DatabaseErrorKind::noCurrentRow,
                            "Cannot " + std::string(action) + " the strength-class database " +
                                displayPath(openedPath_) + ": there is no current row (" +
                                (sheet_->rowCount == 0 ? "the table is empty"
                                 : cursor_ < 0         ? "the cursor is before the first row"
                                                       : "the cursor is after the last row") +
                                ")");
}

} // namespace materials
