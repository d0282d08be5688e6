#include "materials/sheet_reader.h"

#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <sqlite3.h>

#include "materials/database_error.h"
#include "materials/database_file.h"
#include "materials/descriptor_vfs.h"
#include "materials/strength_class_fields.h"

namespace materials {
namespace {

using Kind = DatabaseErrorKind;

// The hardened settings the reader relies on (SQLITE_DBCONFIG_TRUSTED_SCHEMA
// among them) are all there from 3.37 on.
constexpr int oldestSqlite = 3037000;

// Bounds on reading one file. A full table of 32,766 rows with thirteen
// fields takes under a million SQLite steps, a few MiB of memory and of
// file, and no value comes near a hundred bytes; each bound leaves room
// many times over and stops a hostile file within about a second. Pages read
// again once they have left SQLite's cache count again, up to as many as the
// largest file holds.
constexpr int longestValueBytes = 1 << 20;
constexpr int stepsPerProgressCall = 1000;
constexpr std::int64_t stepBudget = 20'000'000;
constexpr std::int64_t heapLimitBytes = 16 << 20;
constexpr std::size_t textBytesBudget = 16u << 20;
// The shipped file holds one table; a file edited in a database tool may gain
// a few indexes or views. SQLite parses every entry of the schema before the
// first statement runs, outside any count of rows, and near the memory bound
// that parse slows to seconds; reading the schema takes about ten steps an
// entry, so a step budget stops it early, and the entries are counted after.
constexpr std::int64_t largestSchemaEntries = 1000;
constexpr std::int64_t schemaStepBudget = 50 * largestSchemaEntries;

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

// SQLite's heap limit is the process's; it holds while one file is read.
class HeapLimit
{
public:
    explicit HeapLimit(std::int64_t bytes) : previous_(sqlite3_hard_heap_limit64(bytes)) {}
    ~HeapLimit() { sqlite3_hard_heap_limit64(previous_); }
    HeapLimit(const HeapLimit&) = delete;
    HeapLimit& operator=(const HeapLimit&) = delete;

private:
    std::int64_t previous_;
};

// Counts SQLite's steps and the pages it reads from the file, and interrupts
// it when either passes its budget.
struct WorkBudget
{
    sqlite3* db = nullptr;
    std::int64_t pageBudget = 0;
    std::int64_t steps = 0;
    bool readingSchema = false;
    enum class Exceeded { none, steps, schema, fileBytes } exceeded = Exceeded::none;

    static int check(void* context)
    {
        auto& budget = *static_cast<WorkBudget*>(context);
        budget.steps += stepsPerProgressCall;
        int pagesRead = 0;
        int highwater = 0;
        sqlite3_db_status(budget.db, SQLITE_DBSTATUS_CACHE_MISS, &pagesRead, &highwater, 0);
        if (budget.readingSchema && budget.steps > schemaStepBudget)
            budget.exceeded = Exceeded::schema;
        else if (budget.steps > stepBudget)
            budget.exceeded = Exceeded::steps;
        else if (pagesRead > budget.pageBudget)
            budget.exceeded = Exceeded::fileBytes;
        return budget.exceeded != Exceeded::none;
    }
};

std::string mebibytes(std::uint64_t bytes)
{
    return std::to_string(bytes >> 20) + " MiB";
}

const std::string madeToStall = "; the file is damaged or was made to stall the program";

DatabaseError tooLargeSchema(const std::string& path)
{
    return databaseError(Kind::tooMuchWork, path,
                         "it holds more than " + std::to_string(largestSchemaEntries) +
                             " tables, views, indexes and triggers, where a strength-class "
                             "database needs one table" +
                             madeToStall);
}

[[noreturn]] void throwSqliteFailure(sqlite3* db, int code, const std::string& path,
                                     const WorkBudget* budget = nullptr)
{
    const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
    switch (code & 0xFF) {
    case SQLITE_NOTADB:
        throw databaseError(Kind::notADatabase, path, "the file is not an SQLite 3 database");
    case SQLITE_CANTOPEN:
        throw databaseError(Kind::cannotOpen, path, message);
    case SQLITE_CORRUPT:
        throw databaseError(Kind::damaged, path, "the file is damaged (" + message + ")");
    case SQLITE_TOOBIG:
        throw databaseError(Kind::tooMuchWork, path,
                            "it holds a value longer than " + mebibytes(longestValueBytes) +
                                ", far beyond any strength-class entry" + madeToStall);
    case SQLITE_NOMEM:
        throw databaseError(Kind::tooMuchWork, path,
                            "reading it would need more than " + mebibytes(heapLimitBytes) +
                                " of memory, far more than any strength-class table" + madeToStall);
    case SQLITE_INTERRUPT:
        if (budget && budget->exceeded == WorkBudget::Exceeded::steps)
            throw databaseError(Kind::tooMuchWork, path,
                                "reading it took more than " + std::to_string(stepBudget) +
                                    " steps, far more than any strength-class table needs" +
                                    madeToStall);
        if (budget && budget->exceeded == WorkBudget::Exceeded::schema)
            throw tooLargeSchema(path);
        if (budget && budget->exceeded == WorkBudget::Exceeded::fileBytes)
            throw databaseError(Kind::tooMuchWork, path,
                                "reading it took more than " + mebibytes(largestFileBytes) +
                                    " of the file, far more than any strength-class table "
                                    "holds" +
                                    madeToStall);
        [[fallthrough]];
    default:
        throw databaseError(Kind::readFailed, path, message);
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

Database openReadOnly(const std::string& path, const DatabaseFile& file)
{
    if (sqlite3_libversion_number() < oldestSqlite)
        throw databaseError(Kind::cannotOpen, path,
                            "the SQLite library is version " + std::string(sqlite3_libversion()) +
                                ", but the program needs 3.37 or later");
    sqlite3* raw = nullptr;
    const std::string uri = fileUri(path) + descriptorUriParameter(file.descriptor());
    const int code = sqlite3_open_v2(uri.c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI,
                                     descriptorVfsName());
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
            throw databaseError(Kind::cannotOpen, path,
                                "SQLite refused a safety setting (" +
                                    std::string(sqlite3_errmsg(db.get())) + ")");
    }
    sqlite3_limit(db.get(), SQLITE_LIMIT_LENGTH, longestValueBytes);
    sqlite3_limit(db.get(), SQLITE_LIMIT_ATTACHED, 0);
    return db;
}

class Reader
{
public:
    Reader(const std::string& path, std::uint32_t pageSize, sqlite3* db) : path_(path), db_(db)
    {
        budget_.db = db;
        budget_.pageBudget = static_cast<std::int64_t>(largestFileBytes / pageSize);
        sqlite3_progress_handler(db, stepsPerProgressCall, &WorkBudget::check, &budget_);
    }

    Statement prepare(const std::string& sql)
    {
        sqlite3_stmt* raw = nullptr;
        const int code = sqlite3_prepare_v2(db_, sql.c_str(), -1, &raw, nullptr);
        Statement statement(raw);
        if (code != SQLITE_OK)
            fail(code);
        return statement;
    }
    Statement prepareWithTableName(const char* sql)
    {
        Statement statement = prepare(sql);
        sqlite3_bind_text(statement.get(), 1, tableName.data(), static_cast<int>(tableName.size()),
                          SQLITE_STATIC);
        return statement;
    }
    // True while there is a row.
    bool step(sqlite3_stmt* statement)
    {
        const int code = sqlite3_step(statement);
        if (code != SQLITE_ROW && code != SQLITE_DONE)
            fail(code);
        return code == SQLITE_ROW;
    }
    std::string_view text(sqlite3_stmt* statement, int column)
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
        const int bytes = sqlite3_column_bytes(statement, column);
        if (!text && sqlite3_errcode(db_) == SQLITE_NOMEM)
            fail(SQLITE_NOMEM);
        return text ? std::string_view(text, static_cast<std::size_t>(bytes)) : std::string_view();
    }
    [[noreturn]] void fail(int code) { throwSqliteFailure(db_, code, path_, &budget_); }

    // The first statement, which makes SQLite read the schema.
    std::int64_t countSchemaEntries()
    {
        budget_.readingSchema = true;
        const Statement count = prepare("SELECT count(*) FROM main.sqlite_schema");
        step(count.get());
        budget_.readingSchema = false;
        return sqlite3_column_int64(count.get(), 0);
    }

    const std::string& path() const { return path_; }

private:
    const std::string& path_;
    sqlite3* db_;
    WorkBudget budget_;
};

std::string quotedIdentifier(std::string_view name)
{
    std::string quoted = "\"";
    for (const char c : name) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

void requireTable(Reader& reader)
{
    if (reader.countSchemaEntries() > largestSchemaEntries)
        throw tooLargeSchema(reader.path());
    // Names are matched as SQLite matches them, ignoring ASCII case.
    const Statement statement = reader.prepareWithTableName(
        "SELECT CASE WHEN type = 'table' AND sql LIKE 'CREATE VIRTUAL%' THEN 'virtual' ELSE type "
        "END FROM main.sqlite_schema WHERE name = ?1 COLLATE NOCASE AND type IN ('table', 'view')");
    if (!reader.step(statement.get()))
        throw databaseError(Kind::tableMissing, reader.path(),
                            "it has no table " + quotedText(tableName));
    const std::string_view type = reader.text(statement.get(), 0);
    if (type != "table")
        throw databaseError(Kind::tableMissing, reader.path(),
                            quotedText(tableName) + " must be a table, but it is a " +
                                quotedText(type));
}

std::string quotedList(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + quotedText(name);
    return text;
}

// Finds the position of each field to read; all must be plain stored fields,
// since a generated one is computed on every read, by any expression.
void locateFields(Reader& reader, SheetContents& sheet)
{
    const Statement statement =
        reader.prepareWithTableName("SELECT name, hidden FROM pragma_table_xinfo(?1, 'main')");
    sheet.fieldPositions.assign(sheet.fieldNames.size(), -1);
    for (int position = 0; reader.step(statement.get()); ++position) {
        const std::optional<std::size_t> field = sheet.field(reader.text(statement.get(), 0));
        if (!field || sheet.fieldPositions[*field] >= 0)
            continue; // a second field of one name is never reached by name
        if (sqlite3_column_int(statement.get(), 1) != 0)
            throw databaseError(Kind::generatedField, reader.path(),
                                "is computed by an expression stored in the file (a generated "
                                "column), and the program reads only stored values",
                                {.field = sheet.fieldNames[*field]});
        sheet.fieldPositions[*field] = position;
    }
    if (sheet.fieldPositions[0] >= 0 && sheet.fieldPositions[0] != classFieldPosition)
        throw databaseError(Kind::fieldMissing, reader.path(),
                            "must be field " + std::to_string(classFieldPosition + 1) +
                                " of table " + quotedText(tableName) + ", but it is field " +
                                std::to_string(sheet.fieldPositions[0] + 1),
                            {.field = classFieldName});
    std::vector<std::string> missing;
    for (std::size_t i = 0; i < sheet.fieldNames.size(); ++i) {
        if (sheet.fieldPositions[i] < 0 && !sheet.optional[i])
            missing.push_back(sheet.fieldNames[i]);
    }
    if (!missing.empty())
        throw databaseError(Kind::fieldMissing, reader.path(),
                            "table " + quotedText(tableName) + " has no field" +
                                (missing.size() > 1 ? "s " : " ") + quotedList(missing) +
                                ", which the window shows (field names must match exactly, "
                                "commas included)");
}

class RowReader
{
public:
    RowReader(Reader& reader, SheetContents& sheet) : reader_(reader), sheet_(sheet) {}

    FieldValue value(sqlite3_stmt* statement, int column)
    {
        switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER:
            return {static_cast<std::int64_t>(sqlite3_column_int64(statement, column))};
        case SQLITE_FLOAT:
            return {sqlite3_column_double(statement, column)};
        case SQLITE_TEXT: {
            const std::string_view text = reader_.text(statement, column);
            if (column == 0)
                requireShortClassName(text);
            textBytes_ += text.size();
            if (textBytes_ > textBytesBudget)
                throw databaseError(Kind::tooMuchWork, reader_.path(),
                                    "its fields hold more than " + mebibytes(textBytesBudget) +
                                        " of text, far more than any strength-class table" +
                                        madeToStall);
            return {std::string(text)};
        }
        case SQLITE_BLOB:
            throw databaseError(Kind::readFailed, reader_.path(),
                                "holds binary data, not a number or a text", place(column));
        default:
            return {};
        }
    }

private:
    void requireShortClassName(std::string_view name) const
    {
        const auto characters = static_cast<std::size_t>(
            std::count_if(name.begin(), name.end(), [](char c) { return !isContinuationByte(c); }));
        if (characters > longestClassName)
            throw databaseError(
                Kind::longClassName, reader_.path(),
                "is " + std::to_string(characters) +
                    " characters long; a class name may have at most " +
                    std::to_string(longestClassName),
                {.row = sheet_.rowCount, .className = std::string(name), .field = classFieldName});
    }

    static bool isContinuationByte(char c)
    {
        return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
    }

    TablePlace place(int column) const
    {
        TablePlace place{.row = sheet_.rowCount,
                         .field = sheet_.fieldNames[static_cast<std::size_t>(column)]};
        if (column > 0) {
            const std::size_t rowStart =
                static_cast<std::size_t>(sheet_.rowCount) * sheet_.fieldNames.size();
            if (const auto* name = std::get_if<std::string>(&sheet_.values[rowStart].value))
                place.className = *name;
        }
        return place;
    }

    Reader& reader_;
    SheetContents& sheet_;
    std::size_t textBytes_ = 0;
};

void readRows(Reader& reader, SheetContents& sheet)
{
    // A scan of the table itself, never of an index, delivers the rows in the
    // order they are stored.
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < sheet.fieldNames.size(); ++i)
        sql += (i == 0 ? "" : ", ") +
               (sheet.fieldPositions[i] < 0 ? "NULL" : quotedIdentifier(sheet.fieldNames[i]));
    sql += " FROM main." + quotedIdentifier(tableName) + " NOT INDEXED";
    const Statement statement = reader.prepare(sql);
    const int fieldCount = static_cast<int>(sheet.fieldNames.size());
    RowReader rows(reader, sheet);
    while (reader.step(statement.get())) {
        if (sheet.rowCount == largestClassCount)
            throw databaseError(Kind::tooManyRows, reader.path(),
                                "table " + quotedText(tableName) + " has more than " +
                                    std::to_string(largestClassCount) +
                                    " rows, but the strength-class list holds at most " +
                                    std::to_string(largestClassCount));
        for (int column = 0; column < fieldCount; ++column)
            sheet.values.push_back(rows.value(statement.get(), column));
        ++sheet.rowCount;
    }
}

} // namespace

std::optional<std::size_t> SheetContents::field(std::string_view name) const
{
    const auto found = std::find(fieldNames.begin(), fieldNames.end(), name);
    if (found == fieldNames.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - fieldNames.begin());
}

SheetContents readSheet(const std::string& path, const std::vector<std::string>& fields,
                        const std::vector<std::string>& optional)
{
    const DatabaseFile file(path);
    SheetContents sheet;
    sheet.fieldNames.emplace_back(classFieldName);
    sheet.optional.push_back(false);
    for (const std::string& name : fields) {
        if (!sheet.field(name)) {
            sheet.fieldNames.push_back(name);
            sheet.optional.push_back(false);
        }
    }
    for (const std::string& name : optional) {
        if (!sheet.field(name)) {
            sheet.fieldNames.push_back(name);
            sheet.optional.push_back(true);
        }
    }
    try {
        const HeapLimit heapLimit(heapLimitBytes);
        const Database db = openReadOnly(path, file);
        Reader reader(path, file.pageSize(), db.get());
        requireTable(reader);
        locateFields(reader, sheet);
        readRows(reader, sheet);
        sheet.fingerprint = file.fingerprint();
    } catch (const std::bad_alloc&) {
        throw databaseError(Kind::tooMuchWork, path,
                            "there is not enough memory to read it" + madeToStall);
    }
    return sheet;
}

} // namespace materials
