#include "materials/strength_class_connection.h"

#include <algorithm>
#include <stdexcept>

#include "materials/strength_class_fields.h"

namespace materials {
namespace {

using Kind = DatabaseErrorKind;

std::string valueText(const FieldValue& value)
{
    const std::optional<std::string> text = fieldText(value, ".");
    return text ? quotedText(*text) : "empty";
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
    if (sheet_)
        throw std::logic_error("a label is bound to an open strength-class connection");
    bindings_.push_back({std::move(fieldName), std::move(callback)});
}

void StrengthClassConnection::readOptionalField(std::string fieldName)
{
    if (sheet_)
        throw std::logic_error("a field is added to an open strength-class connection");
    optionalFields_.push_back(std::move(fieldName));
}

bool StrengthClassConnection::hasField(std::string_view name) const
{
    const std::optional<std::size_t> field = sheet_ ? sheet_->field(name) : std::nullopt;
    return field && sheet_->fieldPositions[*field] >= 0;
}

void StrengthClassConnection::open()
{
    close();
    try {
        std::vector<std::string> fields;
        for (const BoundLabel& label : bindings_)
            fields.push_back(label.fieldName);
        SheetContents sheet = readSheet(path_, fields, optionalFields_);
        for (BoundLabel& label : bindings_)
            label.field = *sheet.field(label.fieldName);
        sheet_ = std::move(sheet);
        openedPath_ = path_;
        cursor_ = 0;
    } catch (const DatabaseError&) {
        refreshAll(); // nothing to show: no label keeps a value from before
        throw;
    }
    refreshAll();
}

const std::string& StrengthClassConnection::fingerprint() const
{
    static const std::string none;
    return sheet_ ? sheet_->fingerprint : none;
}

std::vector<std::string> StrengthClassConnection::classNames() const
{
    std::vector<std::string> names;
    for (std::int32_t row = 0; sheet_ && row < sheet_->rowCount; ++row)
        names.push_back(fieldText(sheet_->value(row, 0), decimalSeparator_).value_or(""));
    return names;
}

void StrengthClassConnection::close()
{
    sheet_.reset();
    cursor_ = -1;
}

void StrengthClassConnection::moveFirst()
{
    requireOpen("move to the first row");
    if (sheet_->rowCount == 0)
        throw databaseError(Kind::emptyTable, openedPath_,
                            "table " + quotedText(tableName) + " has no rows");
    cursor_ = 0;
    refreshAll();
}

void StrengthClassConnection::moveLast()
{
    requireOpen("move to the last row");
    if (sheet_->rowCount == 0)
        throw databaseError(Kind::emptyTable, openedPath_,
                            "table " + quotedText(tableName) + " has no rows");
    cursor_ = sheet_->rowCount - 1;
    refreshAll();
}

void StrengthClassConnection::moveNext()
{
    requireOpen("move to the next row");
    if (cursor_ >= sheet_->rowCount)
        throw databaseError(Kind::noCurrentRow, openedPath_,
                            "cannot move to the next row: the cursor is after the last row");
    ++cursor_;
    refreshAll();
}

void StrengthClassConnection::move(std::int32_t n)
{
    requireCurrentRow("move");
    const std::int64_t target = cursor_ + n; // cannot overflow in 64 bits
    const std::int64_t count = sheet_->rowCount;
    cursor_ = target < 0 ? -1 : std::min(target, count);
    refreshAll();
}

std::int32_t StrengthClassConnection::recordCount() const
{
    return sheet_ ? sheet_->rowCount : 0;
}

std::int32_t StrengthClassConnection::currentRow() const
{
    return static_cast<std::int32_t>(cursor_);
}

const FieldValue& StrengthClassConnection::fieldValue(int position) const
{
    requireCurrentRow("read");
    const auto& positions = sheet_->fieldPositions;
    const auto found = std::find(positions.begin(), positions.end(), position);
    if (found == positions.end())
        throw fieldNotRead("field " + std::to_string(position + 1));
    return sheet_->value(static_cast<std::int32_t>(cursor_),
                         static_cast<std::size_t>(found - positions.begin()));
}

const FieldValue& StrengthClassConnection::fieldValue(std::string_view name) const
{
    requireCurrentRow("read");
    const std::optional<std::size_t> field = sheet_->field(name);
    if (!field)
        throw fieldNotRead("the field " + quotedText(name));
    return sheet_->value(static_cast<std::int32_t>(cursor_), *field);
}

std::optional<DatabaseError>
StrengthClassConnection::changesSince(const StrengthClassConnection& earlier) const
{
    if (!sheet_ || !earlier.sheet_)
        return std::nullopt;
    const SheetContents& now = *sheet_;
    const SheetContents& then = *earlier.sheet_;
    const std::string changed = "has changed since the program read it at start-up; the main "
                                "window's results use the values read then";
    if (now.rowCount != then.rowCount)
        return databaseError(Kind::changedSinceRead, openedPath_,
                             changed + " (it had " + std::to_string(then.rowCount) + " rows, now " +
                                 std::to_string(now.rowCount) + ")");
    for (std::int32_t row = 0; row < now.rowCount; ++row) {
        for (std::size_t field = 0; field < now.fieldNames.size(); ++field) {
            const std::optional<std::size_t> thenField = then.field(now.fieldNames[field]);
            if (!thenField || now.value(row, field).value == then.value(row, *thenField).value)
                continue;
            const FieldValue& className = then.value(row, 0);
            TablePlace place{.row = row, .field = now.fieldNames[field]};
            if (const auto* name = std::get_if<std::string>(&className.value))
                place.className = *name;
            return databaseError(Kind::changedSinceRead, openedPath_,
                                 "was " + valueText(then.value(row, *thenField)) + ", now " +
                                     valueText(now.value(row, field)) + ": the file " + changed,
                                 place);
        }
    }
    return std::nullopt;
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

DatabaseError StrengthClassConnection::fieldNotRead(std::string_view what) const
{
    return databaseError(Kind::fieldMissing, openedPath_,
                         std::string(what) + " of table " + quotedText(tableName) +
                             " is not one this connection reads");
}

void StrengthClassConnection::requireOpen(std::string_view action) const
{
    if (!sheet_)
        throw databaseError(Kind::noCurrentRow, path_,
                            "cannot " + std::string(action) + ": it is not open");
}

void StrengthClassConnection::requireCurrentRow(std::string_view action) const
{
    requireOpen(action);
    if (!onRow())
        throw databaseError(Kind::noCurrentRow, openedPath_,
                            "cannot " + std::string(action) + ": there is no current row (" +
                                (sheet_->rowCount == 0 ? "the table is empty"
                                 : cursor_ < 0         ? "the cursor is before the first row"
                                                       : "the cursor is after the last row") +
                                ")");
}

} // namespace materials
