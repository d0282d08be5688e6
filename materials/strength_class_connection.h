#pragma once

// A window's connection to the strength-class table: its rows in memory, a
// cursor, and the labels bound to fields of the current row.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "materials/database_error.h"
#include "materials/field_value.h"
#include "materials/sheet_reader.h"

namespace materials {

// A window's connection to table "Sheet1" of the strength-class database: a
// path, a record set over the table and a cursor that stands on a row, before
// the first row or after the last. Labels bound to it are refreshed by every
// open and every move before the call returns.
//
// The connection reads the field "Class" and the fields bound to it, whole,
// when it opens, and does not hold the file open; every failure is a
// DatabaseError.
class StrengthClassConnection
{
public:
    // Receives the text a bound label shows.
    using Binding = std::function<void(const std::string& text)>;

    explicit StrengthClassConnection(std::string decimalSeparator = ".");
    StrengthClassConnection(const StrengthClassConnection&) = delete;
    StrengthClassConnection& operator=(const StrengthClassConnection&) = delete;

    // Used by the next open.
    void setPath(std::string path);
    const std::string& path() const { return path_; }
    const std::string& decimalSeparator() const { return decimalSeparator_; }

    // Binds a label to a field, before the connection opens: the fields bound
    // are the ones it reads and requires, besides "Class", so an open on a
    // table that lacks one throws. While there is no current row, or the
    // value is null, the label's text is empty.
    void bind(std::string fieldName, Binding callback);
    // Reads a field the table may lack: then its value is null in every row.
    void readOptionalField(std::string fieldName);
    // Whether the open table has a field, bound or optional, of this name.
    bool hasField(std::string_view name) const;

    // Reads the table, puts the cursor on the first row and refreshes the
    // bound labels. An empty table opens with no current row. If the open
    // fails the connection is closed and its bound labels are empty.
    void open();
    bool isOpen() const { return sheet_.has_value(); }

    void moveFirst();          // throws emptyTable on an empty table
    void moveLast();           // likewise
    void moveNext();           // throws noCurrentRow after the last row
    void move(std::int32_t n); // past either end leaves the cursor before or after it

    std::int32_t recordCount() const; // 0 while closed
    // The current row's position counted from 0; -1 before the first row and
    // recordCount() after the last.
    std::int32_t currentRow() const;

    // Throw noCurrentRow without a current row, fieldMissing for a field the
    // connection does not read: position 1 is "Class", others are the bound
    // fields' positions in the table.
    const FieldValue& fieldValue(int position) const;
    const FieldValue& fieldValue(std::string_view name) const;

    // The class name of every row read, in stored order, without moving the
    // cursor; a row with no name has an empty one. None while closed.
    std::vector<std::string> classNames() const;

    // The SHA-256 of the file as it was read when the connection opened, 64
    // hex digits; empty while closed.
    const std::string& fingerprint() const;

    // Closes the database; bound labels keep their last texts.
    void close();

    // The path as messages name it: the one opened while open.
    const std::string& messagePath() const { return isOpen() ? openedPath_ : path_; }

    // Whether the values this connection read differ from those `earlier`
    // read, in the rows and fields both read: an error value naming the first
    // difference, or none when they agree or either is closed.
    std::optional<DatabaseError> changesSince(const StrengthClassConnection& earlier) const;

private:
    struct BoundLabel
    {
        std::string fieldName;
        Binding callback;
        std::size_t field = 0;
    };

    void refresh(BoundLabel& label) const;
    void refreshAll();
    void requireOpen(std::string_view action) const;
    void requireCurrentRow(std::string_view action) const;
    bool onRow() const;
    DatabaseError fieldNotRead(std::string_view what) const;

    std::string decimalSeparator_;
    std::string path_;
    std::string openedPath_;
    std::optional<SheetContents> sheet_;
    std::int64_t cursor_ = -1; // -1 before the first row, rowCount after the last
    std::vector<BoundLabel> bindings_;
    std::vector<std::string> optionalFields_;
};

} // namespace materials
