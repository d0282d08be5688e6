#include <climits>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "materials/database_error.h"
#include "materials/strength_class_connection.h"
#include "materials_fixtures.h"

namespace materials {
namespace {

using testing::classRows;
using testing::createSheet;
using testing::insertRow;
using testing::makeTable;
using testing::TemporaryDirectory;

// Texts a bound label received, in order.
struct LabelLog
{
    std::vector<std::string> texts;
    StrengthClassConnection::Binding binding()
    {
        return [this](const std::string& text) { texts.push_back(text); };
    }
    const std::string& shown() const { return texts.back(); }
};

// Opens a connection on `file`, expecting it to fail, and returns the error.
DatabaseError openFailure(const std::string& file)
{
    StrengthClassConnection connection;
    connection.setPath(file);
    try {
        connection.open();
    } catch (const DatabaseError& error) {
        EXPECT_FALSE(connection.isOpen());
        return error;
    }
    ADD_FAILURE() << "open succeeded on " << file;
    return DatabaseError(DatabaseErrorKind::readFailed, "");
}

std::string message(const std::string& prefix, const std::string& file, const std::string& rest)
{
    return prefix + " " + file + rest;
}

TEST(StrengthClassConnection, BoundLabelsFollowEveryMoveAndAreEmptyOffTheRows)
{
    TemporaryDirectory directory;
    const std::string file =
        makeTable(directory, createSheet + ";" + classRows({"C24", "C14", "D30"}));
    StrengthClassConnection connection;
    LabelLog name;
    LabelLog strength;
    connection.bind("Class", name.binding());
    connection.bind("fm,k", strength.binding());
    connection.setPath(file);

    connection.open();
    EXPECT_EQ(connection.recordCount(), 3);
    EXPECT_EQ(connection.currentRow(), 0);
    EXPECT_EQ(name.shown(), "C24");
    EXPECT_EQ(strength.shown(), "100");

    connection.moveLast();
    EXPECT_EQ(name.shown(), "D30");
    connection.move(-1);
    EXPECT_EQ(name.shown(), "C14");
    EXPECT_EQ(strength.shown(), "101");
    const std::size_t refreshes = name.texts.size();
    connection.move(0); // stays, and still refreshes
    EXPECT_EQ(name.texts.size(), refreshes + 1);
    EXPECT_EQ(name.shown(), "C14");

    connection.moveNext();
    connection.moveNext();
    EXPECT_TRUE(connection.afterLast());
    EXPECT_FALSE(connection.beforeFirst());
    EXPECT_EQ(connection.currentRow(), 3);
    EXPECT_EQ(name.shown(), "");
    EXPECT_EQ(strength.shown(), "");

    connection.moveFirst();
    connection.move(-1);
    EXPECT_TRUE(connection.beforeFirst());
    EXPECT_EQ(name.shown(), "");
    connection.moveNext(); // from before the first row onto it
    EXPECT_EQ(name.shown(), "C24");
}

TEST(StrengthClassConnection, MovesPastEitherEndStopThereWithoutOverflow)
{
    TemporaryDirectory directory;
    const std::string file = makeTable(directory, createSheet + ";" + classRows({"A", "B"}));
    StrengthClassConnection connection;
    connection.setPath(file);
    connection.open();

    connection.moveLast();
    connection.move(INT32_MAX);
    EXPECT_TRUE(connection.afterLast());
    EXPECT_EQ(connection.currentRow(), 2);

    connection.moveLast();
    connection.move(INT32_MIN);
    EXPECT_TRUE(connection.beforeFirst());
    EXPECT_EQ(connection.currentRow(), -1);

    // Without a current row there is nothing to move from or read.
    for (auto action : {+[](StrengthClassConnection& c) { c.move(1); },
                        +[](StrengthClassConnection& c) { c.move(0); },
                        +[](StrengthClassConnection& c) { (void)c.fieldValue(1); },
                        +[](StrengthClassConnection& c) { (void)c.fieldValue("Class"); }}) {
        try {
            action(connection);
            ADD_FAILURE() << "no error without a current row";
        } catch (const DatabaseError& error) {
            EXPECT_EQ(error.kind(), DatabaseErrorKind::noCurrentRow);
            EXPECT_NE(std::string(error.what()).find(file), std::string::npos) << error.what();
            EXPECT_NE(std::string(error.what()).find("before the first row"), std::string::npos);
        }
    }
    connection.moveLast();
    connection.moveNext();
    try {
        connection.moveNext();
        ADD_FAILURE() << "moved past the end";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.kind(), DatabaseErrorKind::noCurrentRow);
        EXPECT_EQ(error.what(), "Cannot move to the next row of the strength-class database " +
                                    file + ": the cursor is after the last row");
    }
}

TEST(StrengthClassConnection, ReadsFieldsByPositionAndNameAsStored)
{
    TemporaryDirectory directory;
    const std::string file = makeTable(
        directory, createSheet + ";" +
                       insertRow("'C16'", "16.123456789012, 10, NULL, 17, 2.2, 1.8, 8, 5.4, 0.27, "
                                          "0.5, 'n/a', 310"));
    StrengthClassConnection connection(",");
    LabelLog strength;
    LabelLog tension;
    LabelLog density;
    connection.bind("fm,k", strength.binding());
    connection.bind("ft,90,k", tension.binding());
    connection.bind("rmean", density.binding());
    connection.setPath(file);
    connection.open();

    EXPECT_EQ(strength.shown(), "16,123456789012");
    EXPECT_EQ(tension.shown(), ""); // null
    EXPECT_EQ(density.shown(), "n/a");
    EXPECT_EQ(connection.fieldValue(0).value, FieldValue{std::int64_t{1}}.value);
    EXPECT_EQ(connection.fieldValue(1).value, FieldValue{std::string("C16")}.value);
    EXPECT_EQ(connection.fieldValue("fm,k").value, FieldValue{16.123456789012}.value);
    EXPECT_EQ(connection.fieldPosition("rk"), 13);
    EXPECT_EQ(connection.fieldPosition("RK"), std::nullopt); // names are exact

    for (auto action : {+[](StrengthClassConnection& c) { (void)c.fieldValue(14); },
                        +[](StrengthClassConnection& c) { (void)c.fieldValue(-1); },
                        +[](StrengthClassConnection& c) { (void)c.fieldValue("fm,k "); }}) {
        try {
            action(connection);
            ADD_FAILURE() << "read a field the table does not have";
        } catch (const DatabaseError& error) {
            EXPECT_EQ(error.kind(), DatabaseErrorKind::fieldMissing);
            EXPECT_NE(std::string(error.what()).find(file), std::string::npos);
        }
    }
}

TEST(StrengthClassConnection, BindingWhileOpenShowsTheRowAtOnceAndRefusesUnknownFields)
{
    TemporaryDirectory directory;
    const std::string file = makeTable(directory, createSheet + ";" + classRows({"C16", "C24"}));
    StrengthClassConnection connection;
    connection.setPath(file);
    connection.open();
    connection.moveNext();
    LabelLog name;
    connection.bind("Class", name.binding());
    EXPECT_EQ(name.texts, std::vector<std::string>{"C24"});
    EXPECT_THROW(connection.bind("Density", name.binding()), DatabaseError);
    connection.moveFirst();
    EXPECT_EQ(name.texts, (std::vector<std::string>{"C24", "C16"}));
}

TEST(StrengthClassConnection, EmptyTableOpensWithoutACurrentRow)
{
    TemporaryDirectory directory;
    const std::string file = makeTable(directory, createSheet);
    StrengthClassConnection connection;
    LabelLog name;
    connection.bind("Class", name.binding());
    connection.setPath(file);
    connection.open();
    EXPECT_EQ(name.texts, std::vector<std::string>{""});
    EXPECT_EQ(connection.recordCount(), 0);
    EXPECT_TRUE(connection.beforeFirst());
    EXPECT_TRUE(connection.afterLast());
    try {
        connection.moveLast();
        ADD_FAILURE() << "moved to the last row of an empty table";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.kind(), DatabaseErrorKind::emptyTable);
        EXPECT_EQ(error.what(),
                  "The strength-class database " + file + ": table \"Sheet1\" has no rows");
    }
    EXPECT_THROW(connection.moveFirst(), DatabaseError);
    EXPECT_THROW(connection.moveNext(), DatabaseError);
}

TEST(StrengthClassConnection, ClosedConnectionRefusesMovesAndKeepsLabels)
{
    TemporaryDirectory directory;
    const std::string file = makeTable(directory, createSheet + ";" + classRows({"C16"}));
    StrengthClassConnection connection;
    LabelLog name;
    connection.bind("Class", name.binding());
    connection.setPath(file);
    try {
        connection.moveFirst();
        ADD_FAILURE() << "moved before opening";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.kind(), DatabaseErrorKind::noCurrentRow);
        EXPECT_EQ(error.what(), "Cannot move to the first row of the strength-class database " +
                                    file + ": it is not open");
    }
    connection.open();
    connection.close();
    EXPECT_FALSE(connection.isOpen());
    EXPECT_EQ(connection.recordCount(), 0);
    EXPECT_EQ(name.texts, std::vector<std::string>{"C16"});
    EXPECT_THROW(connection.moveLast(), DatabaseError);
    connection.open(); // and it opens again
    EXPECT_EQ(connection.recordCount(), 1);
}

TEST(StrengthClassConnection, FilesThatCannotBeOpenedAreReportedWithTheirPath)
{
    TemporaryDirectory directory;
    const std::string missing = directory.file("ZU5ZO.mdb");
    DatabaseError error = openFailure(missing);
    EXPECT_EQ(error.kind(), DatabaseErrorKind::fileMissing);
    EXPECT_EQ(error.what(),
              message("Cannot open the strength-class database", missing, ": file not found"));
    EXPECT_EQ(openFailure(directory.file("no/such/dir/ZU5ZO.mdb")).kind(),
              DatabaseErrorKind::fileMissing);
    EXPECT_EQ(openFailure("").kind(), DatabaseErrorKind::fileMissing);

    std::string noise(4096, '\0');
    unsigned state = 12345;
    for (char& c : noise)
        c = static_cast<char>((state = state * 1103515245 + 12345) >> 16);
    testing::writeFile(missing, noise);
    error = openFailure(missing);
    EXPECT_EQ(error.kind(), DatabaseErrorKind::notADatabase);
    EXPECT_EQ(error.what(), message("Cannot open the strength-class database", missing,
                                    ": the file is not an SQLite 3 database"));

    testing::writeFile(missing, "");
    error = openFailure(missing);
    EXPECT_EQ(error.kind(), DatabaseErrorKind::notADatabase);
    EXPECT_NE(std::string(error.what()).find("the file is empty"), std::string::npos);

    const std::string folder = directory.file("folder.mdb");
    std::filesystem::create_directory(folder);
    error = openFailure(folder);
    EXPECT_EQ(error.kind(), DatabaseErrorKind::cannotOpen);
    EXPECT_EQ(error.what(), message("Cannot open the strength-class database", folder,
                                    ": it is a directory, not a file"));
}

TEST(StrengthClassConnection, PathsWithUriCharactersOpenTheNamedFile)
{
    TemporaryDirectory directory;
    const std::filesystem::path odd = directory.path() / "a dir?mode=rw#x%41 &ü";
    std::filesystem::create_directory(odd);
    const std::string file = (odd / "ZU5ZO.mdb").string();
    testing::createDatabase(file, createSheet + ";" + classRows({"C16"}));
    StrengthClassConnection connection;
    connection.setPath(file);
    connection.open();
    EXPECT_EQ(connection.recordCount(), 1);
}

TEST(StrengthClassConnection, TablesOfTheWrongShapeAreReportedWithTheirPath)
{
    TemporaryDirectory directory;
    const std::string file = directory.file("ZU5ZO.mdb");
    auto failure = [&](const std::string& sql) {
        std::filesystem::remove(file);
        testing::createDatabase(file, sql);
        return openFailure(file);
    };
    const std::string prefix = "The strength-class database " + file;

    DatabaseError error = failure("CREATE TABLE Sheet2 (x)");
    EXPECT_EQ(error.kind(), DatabaseErrorKind::tableMissing);
    EXPECT_EQ(error.what(), prefix + " has no table \"Sheet1\"");

    error = failure("CREATE TABLE t (x); CREATE VIEW Sheet1 AS SELECT * FROM t");
    EXPECT_EQ(error.kind(), DatabaseErrorKind::tableMissing);
    EXPECT_EQ(error.what(), prefix + ": \"Sheet1\" must be a table, but it is a \"view\"");

    error = failure(R"(CREATE TABLE Sheet1 ("ID", "Class", "fm,k", "ft,0,k", "ft,90,k",
        "fc,0,k", "fc,90,k", "fv,k", "E0,mean", "E90,mean", "Gmean", "rmean"))");
    EXPECT_EQ(error.kind(), DatabaseErrorKind::fieldMissing);
    EXPECT_EQ(error.what(), prefix + ": table \"Sheet1\" has no fields \"Ek\", \"rk\" (field names "
                                     "must match exactly, commas included)");

    error = failure(R"(CREATE TABLE Sheet1 ("ID", "CLASS", "FM,K", "ft,0,k", "ft,90,k",
        "fc,0,k", "fc,90,k", "fv,k", "E0,mean", "Ek", "E90,mean", "Gmean", "rmean", "rk"))");
    EXPECT_EQ(error.kind(), DatabaseErrorKind::fieldMissing);
    EXPECT_NE(std::string(error.what()).find("\"Class\", \"fm,k\""), std::string::npos);
    EXPECT_NE(std::string(error.what()).find("must match exactly"), std::string::npos);

    error = failure(R"(CREATE TABLE Sheet1 ("ID", "fm,k", "Class", "ft,0,k", "ft,90,k",
        "fc,0,k", "fc,90,k", "fv,k", "E0,mean", "Ek", "E90,mean", "Gmean", "rmean", "rk"))");
    EXPECT_EQ(error.kind(), DatabaseErrorKind::fieldMissing);
    EXPECT_EQ(error.what(),
              prefix + ": the field \"Class\" must be field 2 of table \"Sheet1\", but it is "
                       "field 3");
}

TEST(StrengthClassConnection, BindingToAFieldTheTableLacksFailsTheOpen)
{
    TemporaryDirectory directory;
    const std::string file = makeTable(directory, createSheet + ";" + classRows({"C16"}));
    StrengthClassConnection connection;
    LabelLog name;
    LabelLog unknown;
    connection.bind("Class", name.binding());
    connection.bind("fm,k,d", unknown.binding());
    connection.setPath(file);
    try {
        connection.open();
        ADD_FAILURE() << "opened with a binding to a missing field";
    } catch (const DatabaseError& error) {
        EXPECT_EQ(error.kind(), DatabaseErrorKind::fieldMissing);
        EXPECT_EQ(error.what(), "The strength-class database " + file +
                                    ": table \"Sheet1\" has no field \"fm,k,d\", which a label "
                                    "shows (field names must match exactly, commas included)");
    }
    EXPECT_FALSE(connection.isOpen());
    EXPECT_EQ(name.texts, std::vector<std::string>{""}); // nothing from a table that failed
}

TEST(StrengthClassConnection, UntrustedContentIsRefusedWithRowAndField)
{
    TemporaryDirectory directory;
    const std::string file = directory.file("ZU5ZO.mdb");
    auto failure = [&](const std::string& sql) {
        std::filesystem::remove(file);
        testing::createDatabase(file, createSheet + ";" + sql);
        return openFailure(file);
    };

    DatabaseError error = failure(classRows({"C14"}) +
                                  insertRow("'C16'", "16, 10, 0.5, 17, 2.2, 1.8, 8, x'00ff', 0.27, "
                                                     "0.5, 370, 310"));
    EXPECT_EQ(error.kind(), DatabaseErrorKind::readFailed);
    EXPECT_EQ(error.what(),
              "Cannot read the strength-class database " + file +
                  ": field \"Ek\" of row 2 (class \"C16\") holds binary data, not a number or a "
                  "text");

    // A value far beyond any class name is not read into memory.
    error = failure(insertRow("printf('%.*c', 2000000, 'x')",
                              "16, 10, 0.5, 17, 2.2, 1.8, 8, 5.4, 0.27, 0.5, 370, 310"));
    EXPECT_EQ(error.kind(), DatabaseErrorKind::readFailed);
    EXPECT_EQ(error.what(), "Cannot read the strength-class database " + file +
                                ": it holds a value longer than 1048576 bytes, far beyond any "
                                "strength-class entry");
}

TEST(StrengthClassConnection, UnfinishedWritesAreNotReadAsWhole)
{
    TemporaryDirectory directory;
    const std::string file = makeTable(directory, createSheet + ";" + classRows({"C16"}));
    const std::string journal = file + "-journal";
    testing::writeFile(journal,
                       std::string("\xD9\xD5\x05\xF9\x20\xA1\x63\xD7", 8) + std::string(504, '\0'));
    DatabaseError error = openFailure(file);
    EXPECT_EQ(error.kind(), DatabaseErrorKind::cannotOpen);
    EXPECT_NE(std::string(error.what()).find(journal), std::string::npos) << error.what();

    // A journal that was finished (zeroed or empty) is no obstacle.
    testing::writeFile(journal, std::string(512, '\0'));
    StrengthClassConnection connection;
    connection.setPath(file);
    EXPECT_NO_THROW(connection.open());
}

TEST(StrengthClassConnection, StoredOrderHoldsEvenWhenAnIndexCoversEveryField)
{
    TemporaryDirectory directory;
    const std::string file = makeTable(
        directory, createSheet + ";" + classRows({"C24", "C14", "D30"}) +
                       R"(CREATE INDEX everything ON Sheet1 ("Class", "ID", "fm,k", "ft,0,k",
                          "ft,90,k", "fc,0,k", "fc,90,k", "fv,k", "E0,mean", "Ek", "E90,mean",
                          "Gmean", "rmean", "rk"))");
    StrengthClassConnection connection;
    LabelLog name;
    connection.bind("Class", name.binding());
    connection.setPath(file);
    connection.open();
    connection.moveNext();
    connection.moveNext();
    EXPECT_EQ(name.texts, (std::vector<std::string>{"C24", "C14", "D30"}));
}

struct FileState
{
    std::string bytes;
    struct stat status;
};

FileState stateOf(const std::string& file)
{
    FileState state{testing::readFile(file), {}};
    EXPECT_EQ(stat(file.c_str(), &state.status), 0);
    return state;
}

std::set<std::string> listing(const std::filesystem::path& directory)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.insert(entry.path().filename().string());
    return names;
}

void expectUnchanged(const FileState& before, const std::string& file)
{
    const FileState after = stateOf(file);
    EXPECT_EQ(after.bytes, before.bytes);
    EXPECT_EQ(after.status.st_mtim.tv_sec, before.status.st_mtim.tv_sec);
    EXPECT_EQ(after.status.st_mtim.tv_nsec, before.status.st_mtim.tv_nsec);
    EXPECT_EQ(after.status.st_ctim.tv_sec, before.status.st_ctim.tv_sec);
    EXPECT_EQ(after.status.st_ctim.tv_nsec, before.status.st_ctim.tv_nsec);
}

TEST(StrengthClassConnection, TwoConnectionsReadTheFileAtOnceAndChangeNothing)
{
    TemporaryDirectory directory;
    const std::string file = makeTable(directory, createSheet + ";" + classRows({"C16", "C24"}));
    const FileState before = stateOf(file);
    const std::set<std::string> files = listing(directory.path());

    StrengthClassConnection main;
    StrengthClassConnection data;
    LabelLog mainName;
    LabelLog dataName;
    main.bind("Class", mainName.binding());
    data.bind("Class", dataName.binding());
    main.setPath(file);
    data.setPath(file);
    main.open();
    data.open();
    data.moveLast();
    main.moveFirst();
    EXPECT_EQ(mainName.shown(), "C16");
    EXPECT_EQ(dataName.shown(), "C24");
    EXPECT_EQ(listing(directory.path()), files);
    main.close();
    data.moveFirst();
    EXPECT_EQ(dataName.shown(), "C16");
    data.close();

    expectUnchanged(before, file);
    EXPECT_EQ(listing(directory.path()), files);
}

TEST(StrengthClassConnection, OpensInADirectoryNoOneCanWrite)
{
    // Run as root, as the test suite may be, the permission bits do not stop
    // a write; the listing below still shows that nothing was created.
    TemporaryDirectory directory;
    const std::string file = makeTable(directory, createSheet + ";" + classRows({"C16"}));
    std::filesystem::permissions(file, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    std::filesystem::permissions(directory.path(), std::filesystem::perms::owner_read |
                                                       std::filesystem::perms::owner_exec);
    const FileState before = stateOf(file);
    const std::set<std::string> files = listing(directory.path());

    StrengthClassConnection connection;
    connection.setPath(file);
    connection.open();
    connection.moveLast();
    connection.move(-1);
    connection.close();

    expectUnchanged(before, file);
    EXPECT_EQ(listing(directory.path()), files);
}

} // namespace
} // namespace materials
