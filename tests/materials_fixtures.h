#pragma once

// Strength-class tables made at run time in temporary folders, for the
// materials tests.

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sqlite3.h>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "materials/strength_class_sequences.h"

namespace materials::testing {

// The properties the main window takes as design inputs, which must hold
// numbers.
inline constexpr std::array<std::string_view, 5> designFieldNames{
    "fm,k", "fc,90,k", "fv,k", "E0,mean", "rmean",
};

// A fresh directory, removed with everything in it.
class TemporaryDirectory
{
public:
    TemporaryDirectory()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / ("materials-" + std::string(6, 'X')))
                .string(); // mkdtemp's template
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary directory");
        path_ = pattern;
    }
    ~TemporaryDirectory()
    {
        std::error_code error;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(path_, error);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Runs SQL on a new database file; a rollback journal, so the finished file
// stands alone.
inline void createDatabase(const std::string& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    int code =
        sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    char* message = nullptr;
    if (code == SQLITE_OK)
        code =
            sqlite3_exec(db, ("PRAGMA journal_mode = DELETE; BEGIN; " + sql + "; COMMIT;").c_str(),
                         nullptr, nullptr, &message);
    const std::string error = message ? message : (db ? sqlite3_errmsg(db) : "out of memory");
    sqlite3_free(message);
    sqlite3_close(db);
    if (code != SQLITE_OK)
        throw std::runtime_error("cannot create test database: " + error);
}

inline void writeFile(const std::string& file, std::string_view bytes)
{
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readFile(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// "Sheet1" as shipped: integer key, class name, twelve reals.
inline const std::string createSheet =
    R"(CREATE TABLE "Sheet1" ("ID" INTEGER PRIMARY KEY, "Class" TEXT, "fm,k" REAL,
       "ft,0,k" REAL, "ft,90,k" REAL, "fc,0,k" REAL, "fc,90,k" REAL, "fv,k" REAL,
       "E0,mean" REAL, "Ek" REAL, "E90,mean" REAL, "Gmean" REAL, "rmean" REAL, "rk" REAL))";

// One row, its twelve values given as SQL text; the key is left to SQLite.
inline std::string insertRow(std::string_view classLiteral, std::string_view values)
{
    return "INSERT INTO \"Sheet1\" (\"Class\", \"fm,k\", \"ft,0,k\", \"ft,90,k\", \"fc,0,k\", "
           "\"fc,90,k\", \"fv,k\", \"E0,mean\", \"Ek\", \"E90,mean\", \"Gmean\", \"rmean\", "
           "\"rk\") VALUES (" +
           std::string(classLiteral) + ", " + std::string(values) + ");";
}

// Rows named as given, whose "fm,k" is 100 plus the row's position and whose
// other values are C16's.
inline std::string classRows(std::initializer_list<std::string_view> names)
{
    std::string sql;
    int position = 0;
    for (const std::string_view name : names) {
        std::string literal(1, '\'');
        literal.append(name).push_back('\'');
        sql += insertRow(literal, std::to_string(100 + position++) +
                                      ", 10, 0.5, 17, 2.2, 1.8, 8, 5.4, 0.27, 0.5, 370, 310");
    }
    return sql;
}

// Trivial views, which SQLite parses with the schema before any row is read.
inline std::string views(int count)
{
    std::string sql;
    for (int view = 0; view < count; ++view)
        sql += "CREATE VIEW v" + std::to_string(view) + " AS SELECT 1;";
    return sql;
}

inline std::string makeTable(const TemporaryDirectory& directory, const std::string& sql)
{
    const std::string file = directory.file("ZU5ZO.mdb");
    createDatabase(file, sql);
    return file;
}

// The main window's class list and class-name label, in memory.
class FakeClassList : public ClassList
{
public:
    void clear() override
    {
        entries.clear();
        ++clears;
    }
    void append(const std::string& text) override { entries.push_back(text); }
    int selectedIndex() const override { return selected; }

    std::vector<std::string> entries;
    int selected = -1;
    int clears = 0;
};

class FakeLabel : public ClassNameLabel
{
public:
    void setText(const std::string& value) override { text = value; }
    std::string text = "unchanged";
};

} // namespace materials::testing
