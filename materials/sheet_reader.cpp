#include "materials/sheet_reader.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <sqlite3.h>

#include "materials/database_error.h"
#include "materials/error_text.h"
#include "materials/strength_class_fields.h"

namespace materials {
namespace {

namespace fs = std::filesystem;

// No value in a strength-class table comes near this; a longer one is refused
// rather than read into memory.
constexpr int longestValueBytes = 1 << 20;

struct DatabaseCloser
{
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;

struct StatementFinalizer
{
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

std::string cannotOpen(const std::string& path)
{
    return "Cannot open the strength-class database " + displayPath(path) + ": ";
}
std::string cannotRead(const std::string& path)
{
    return "Cannot read the strength-class database " + displayPath(path) + ": ";
}

std::string sqliteMessage(sqlite3* db)
{
    return db ? sqlite3_errmsg(db) : "out of memory";
}

[[noreturn]] void throwSqliteFailure(sqlite3* db, int code, const std::string& path)
{
    switch (code & 0xFF) {
    case SQLITE_NOTADB:
        throw DatabaseError(DatabaseErrorKind::notADatabase,
                            cannotOpen(path) + "the file is not an SQLite 3 database");
    case SQLITE_CANTOPEN:
        throw DatabaseError(DatabaseErrorKind::cannotOpen, cannotOpen(path) + sqliteMessage(db));
    case SQLITE_TOOBIG:
        throw DatabaseError(DatabaseErrorKind::readFailed,
                            cannotRead(path) + "it holds a value longer than " +
                                std::to_string(longestValueBytes) +
                                " bytes, far beyond any strength-class entry");
    case SQLITE_CORRUPT:
        throw DatabaseError(DatabaseErrorKind::readFailed,
                            cannotRead(path) + "the file is damaged (" + sqliteMessage(db) + ")");
    default:
        throw DatabaseError(DatabaseErrorKind::readFailed, cannotRead(path) + sqliteMessage(db));
    }
}

// SQLite's URI form, so that the read-only and immutable flags ride with the
// name. Every byte but the unreserved ones and '/' is percent-encoded, so '?',
// '#' and '%' in a directory name stay part of the path.
std::string fileUri(const std::string& path)
{
    static constexpr char hexDigits[] = "0123456789ABCDEF";
    std::string uri = path.starts_with('/') ? "file://" : "file:";
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                                c == '~' || c == '/';
        if (unreserved) {
            uri += c;
        } else {
            uri += '%';
            uri += hexDigits[byte >> 4];
            uri += hexDigits[byte & 0xF];
        }
    }
    uri += "?mode=ro&immutable=1";
    return uri;
}

// An immutable open ignores journals, so a database that another program is
// writing, or whose last write was cut off, would be read as if it were whole.
void refuseUnfinishedWrite(const std::string& path)
{
    std::error_code error;
    const std::string wal = path + "-wal";
    const auto walSize = fs::file_size(wal, error);
    const bool walPending = !error && walSize > 0;

    constexpr std::array<unsigned char, 8> journalMagic{0xD9, 0xD5, 0x05, 0xF9,
                                                        0x20, 0xA1, 0x63, 0xD7};
    const std::string journal = path + "-journal";
    std::array<char, 8> header{};
    std::ifstream journalFile(journal, std::ios::binary);
    const bool journalPending =
        journalFile.read(header.data(), header.size()) &&
        std::equal(header.begin(), header.end(), journalMagic.begin(),
                   [](char a, unsigned char b) { return static_cast<unsigned char>(a) == b; });

    if (walPending || journalPending)
        throw DatabaseError(DatabaseErrorKind::cannotOpen,
                            cannotOpen(path) + "it has changes that are not finished (" +
                                displayPath(walPending ? wal : journal) +
                                "); close any program that is writing it, or open it once in "
                                "an SQLite tool to finish or undo the change");
}

void checkFile(const std::string& path)
{
    if (path.find('\0') != std::string::npos)
        throw DatabaseError(DatabaseErrorKind::cannotOpen,
                            cannotOpen(path) + "the path contains a NUL character");
    std::error_code error;
    const fs::file_status status = path.empty() ? fs::file_status() : fs::status(path, error);
    if (!fs::exists(status) || error == std::errc::no_such_file_or_directory ||
        error == std::errc::not_a_directory)
        throw DatabaseError(DatabaseErrorKind::fileMissing, cannotOpen(path) + "file not found");
    if (error)
        throw DatabaseError(DatabaseErrorKind::cannotOpen, cannotOpen(path) + error.message());
    if (fs::is_directory(status))
        throw DatabaseError(DatabaseErrorKind::cannotOpen,
                            cannotOpen(path) + "it is a directory, not a file");
    if (!fs::is_regular_file(status))
        throw DatabaseError(DatabaseErrorKind::cannotOpen,
                            cannotOpen(path) + "it is not a regular file");
    // SQLite takes an empty file for an empty database, which would be
    // reported as a missing table.
    if (fs::file_size(path, error) == 0 && !error)
        throw DatabaseError(DatabaseErrorKind::notADatabase,
                            cannotOpen(path) + "the file is empty, not an SQLite 3 database");
    refuseUnfinishedWrite(path);
}

Database openReadOnly(const std::string& path)
{
    sqlite3* raw = nullptr;
    const int code = sqlite3_open_v2(fileUri(path).c_str(), &raw,
                                     SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    Database db(raw);
    if (code != SQLITE_OK)
        throwSqliteFailure(db.get(), code, path);

    // The file is untrusted: no extensions, nothing run from its schema, no
    // way for SQL to change it.
    const std::array<std::pair<int, int>, 5> settings{{
        {SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0},
        {SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0},
        {SQLITE_DBCONFIG_DEFENSIVE, 1},
        {SQLITE_DBCONFIG_ENABLE_TRIGGER, 0},
        {SQLITE_DBCONFIG_ENABLE_VIEW, 0},
    }};
    for (const auto& [option, value] : settings) {
        int now = -1;
        if (sqlite3_db_config(db.get(), option, value, &now) != SQLITE_OK || now != value)
            throw DatabaseError(DatabaseErrorKind::cannotOpen,
                                cannotOpen(path) + "SQLite refused a safety setting (" +
                                    sqliteMessage(db.get()) + ")");
    }
    sqlite3_limit(db.get(), SQLITE_LIMIT_LENGTH, longestValueBytes);
    sqlite3_limit(db.get(), SQLITE_LIMIT_ATTACHED, 0);
    return db;
}

Statement prepare(sqlite3* db, const char* sql, const std::string& path)
{
    sqlite3_stmt* raw = nullptr;
    const int code = sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    Statement statement(raw);
    if (code != SQLITE_OK)
        throwSqliteFailure(db, code, path);
    return statement;
}

void requireTable(sqlite3* db, const std::string& path)
{
    Statement statement =
        prepare(db, "SELECT type FROM pragma_table_list('Sheet1') WHERE schema = 'main'", path);
    const int code = sqlite3_step(statement.get());
    if (code == SQLITE_DONE)
        throw DatabaseError(DatabaseErrorKind::tableMissing, "The strength-class database " +
                                                                 displayPath(path) +
                                                                 " has no table \"Sheet1\"");
    if (code != SQLITE_ROW)
        throwSqliteFailure(db, code, path);
    const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0));
    if (!type || std::string_view(type) != "table")
        throw DatabaseError(DatabaseErrorKind::tableMissing,
                            "The strength-class database " + displayPath(path) +
                                ": \"Sheet1\" must be a table, but it is a " +
                                (type ? quotedText(type) : std::string("different object")));
}

// Whether windows show the field, so that it must hold a number or a text.
bool isShownField(std::string_view name)
{
    return name == classFieldName || std::find(propertyFieldNames.begin(), propertyFieldNames.end(),
                                               name) != propertyFieldNames.end();
}

FieldValue readValue(sqlite3_stmt* statement, int column, const SheetContents& sheet,
                     const std::string& path)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return {static_cast<std::int64_t>(sqlite3_column_int64(statement, column))};
    case SQLITE_FLOAT:
        return {sqlite3_column_double(statement, column)};
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        const int bytes = sqlite3_column_bytes(statement, column);
        if (!text && bytes > 0)
            throw DatabaseError(DatabaseErrorKind::readFailed, cannotRead(path) + "out of memory");
        return {std::string(text ? text : "", static_cast<std::size_t>(bytes))};
    }
    case SQLITE_BLOB: {
        // A field no window shows, such as the free key, may hold anything.
        const std::string& name = sheet.fieldNames[static_cast<std::size_t>(column)];
        if (!isShownField(name))
            return {};
        const std::size_t rowStart =
            static_cast<std::size_t>(sheet.rowCount) * sheet.fieldNames.size();
        const std::string* className = nullptr;
        if (column > classFieldPosition && sheet.fieldNames[classFieldPosition] == classFieldName)
            className =
                std::get_if<std::string>(&sheet.values[rowStart + classFieldPosition].value);
        throw DatabaseError(DatabaseErrorKind::readFailed,
                            cannotRead(path) + "field " + quotedText(name) + " of " +
                                rowDescription(sheet.rowCount, className) +
                                " holds binary data, not a number or a text");
    }
    default:
        return {};
    }
}

} // namespace

SheetContents readSheet(const std::string& path)
{
    checkFile(path);
    const Database db = openReadOnly(path);
    requireTable(db.get(), path);

    // A scan of the table itself, never of an index, delivers the rows in the
    // order they are stored.
    const Statement statement = prepare(db.get(), "SELECT * FROM main.Sheet1 NOT INDEXED", path);
    SheetContents sheet;
    const int fieldCount = sqlite3_column_count(statement.get());
    for (int column = 0; column < fieldCount; ++column) {
        const char* name = sqlite3_column_name(statement.get(), column);
        if (!name)
            throw DatabaseError(DatabaseErrorKind::readFailed, cannotRead(path) + "out of memory");
        sheet.fieldNames.emplace_back(name);
    }

    int code = SQLITE_OK;
    while ((code = sqlite3_step(statement.get())) == SQLITE_ROW) {
        if (sheet.rowCount == std::numeric_limits<std::int32_t>::max())
            throw DatabaseError(DatabaseErrorKind::tooManyRows,
                                cannotRead(path) + "table \"Sheet1\" has more rows than can be "
                                                   "counted");
        for (int column = 0; column < fieldCount; ++column)
            sheet.values.push_back(readValue(statement.get(), column, sheet, path));
        ++sheet.rowCount;
    }
    if (code != SQLITE_DONE)
        throwSqliteFailure(db.get(), code, path);
    return sheet;
}

} // namespace materials
