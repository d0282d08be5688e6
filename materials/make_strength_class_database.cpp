// Build tool: makes the strength-class database from its SQL source.
//   make_strength_class_database <source.sql> <output.mdb>
// The database is written beside the output under a temporary name and moved
// into place only when complete, so a failed build leaves no half-made file.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sqlite3.h>
#include <sstream>
#include <string>

namespace {

bool readFile(const std::string& path, std::string& text)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream contents;
    contents << file.rdbuf();
    text = contents.str();
    return static_cast<bool>(file) || file.eof();
}

bool execute(sqlite3* db, const std::string& sql, const std::string& what)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    std::cerr << "make_strength_class_database: " << what << ": "
              << (message ? message : sqlite3_errmsg(db)) << '\n';
    sqlite3_free(message);
    return false;
}

bool build(const std::string& sql, const std::string& path)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        std::cerr << "make_strength_class_database: cannot create " << path << ": "
                  << (db ? sqlite3_errmsg(db) : "out of memory") << '\n';
        sqlite3_close(db);
        return false;
    }
    // A rollback journal, not WAL: the finished file is complete on its own.
    const bool ok = execute(db, "PRAGMA journal_mode = DELETE", "setting the journal mode") &&
                    execute(db, "BEGIN; " + sql + "\nCOMMIT;", "running the SQL source");
    return sqlite3_close(db) == SQLITE_OK && ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_strength_class_database <source.sql> <output.mdb>\n";
        return 2;
    }
    const std::string source = argv[1];
    const std::string output = argv[2];
    std::string sql;
    if (!readFile(source, sql)) {
        std::cerr << "make_strength_class_database: cannot read " << source << '\n';
        return 1;
    }

    const std::string temporary = output + ".tmp";
    std::error_code error;
    std::filesystem::remove(temporary, error);
    if (!build(sql, temporary)) {
        std::filesystem::remove(temporary, error);
        return 1;
    }
    std::filesystem::rename(temporary, output, error);
    if (error) {
        std::cerr << "make_strength_class_database: cannot move " << temporary << " to " << output
                  << ": " << error.message() << '\n';
        std::filesystem::remove(temporary, error);
        return 1;
    }
    return 0;
}
