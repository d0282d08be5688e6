#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "materials/database_error.h"
#include "materials/strength_class_connection.h"
#include "materials_fixtures.h"
#include "tests/thrown_error.h"

namespace materials {
namespace {

using testing_support::thrownError;

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
    EXPECT_EQ(connection.currentRow(), 3); // after the last row
    EXPECT_EQ(name.shown(), "");
    EXPECT_EQ(strength.shown(), "");

    connection.moveFirst();
    connection.move(-1);
    EXPECT_EQ(connection.currentRow(), -1);
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
    EXPECT_EQ(connection.currentRow(), 2);

    connection.moveLast();
    connection.move(INT32_MIN);
    EXPECT_EQ(connection.currentRow(), -1);

    // Without a current row there is nothing to move from or read.
    for (auto action : {+[](StrengthClassConnection& c) { c.move(1); },
                        +[](StrengthClassConnection& c) { c.move(0); },
                        +[](StrengthClassConnection& c) { (void)c.fieldValue(1); },
                        +[](StrengthClassConnection& c) { (void)c.fieldValue("Class"); }}) {
        const auto error = thrownError<DatabaseError>([&] { action(connection); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), DatabaseErrorKind::noCurrentRow);
        EXPECT_NE(std::string(error->what()).find(file), std::string::npos) << error->what();
        EXPECT_NE(std::string(error->what()).find("before the first row"), std::string::npos);
    }
    connection.moveLast();
    connection.moveNext();
    const auto error = thrownError<DatabaseError>([&] { connection.moveNext(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), DatabaseErrorKind::noCurrentRow);
    EXPECT_EQ(error->what(), "The strength-class database " + file +
                                 ": cannot move to the next row: the cursor is after the last row");
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
    EXPECT_EQ(connection.fieldValue(1).value, FieldValue{std::string("C16")}.value);
    EXPECT_EQ(connection.fieldValue("fm,k").value, FieldValue{16.123456789012}.value);
    EXPECT_EQ(connection.fieldValue(12).value, FieldValue{std::string("n/a")}.value);

    // Only "Class" and the bound fields are read; names are exact.
    for (auto action : {+[](StrengthClassConnection& c) { (void)c.fieldValue(0); },
                        +[](StrengthClassConnection& c) { (void)c.fieldValue(3); },
                        +[](StrengthClassConnection& c) { (void)c.fieldValue("RMEAN"); }}) {
        const auto error = thrownError<DatabaseError>([&] { action(connection); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), DatabaseErrorKind::fieldMissing);
        EXPECT_NE(std::string(error->what()).find(file), std::string::npos);
    }
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
    EXPECT_EQ(connection.currentRow(), 0);
    const auto error = thrownError<DatabaseError>([&] { connection.moveLast(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), DatabaseErrorKind::emptyTable);
    EXPECT_EQ(error->what(),
              "The strength-class database " + file + ": table \"Sheet1\" has no rows");
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
    const auto error = thrownError<DatabaseError>([&] { connection.moveFirst(); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), DatabaseErrorKind::noCurrentRow);
    EXPECT_EQ(error->what(), "The strength-class database " + file +
                                 ": cannot move to the first row: it is not open");
    connection.open();
    connection.close();
    EXPECT_FALSE(connection.isOpen());
    EXPECT_EQ(connection.recordCount(), 0);
    EXPECT_EQ(name.texts, std::vector<std::string>{"C16"});
    EXPECT_THROW(connection.moveLast(), DatabaseError);
    connection.open(); // and it opens again
    EXPECT_EQ(connection.recordCount(), 1);
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

TEST(StrengthClassConnection, TellsWhetherItReadOtherValuesThanAnEarlierConnection)
{
    TemporaryDirectory directory;
    const std::string file = makeTable(directory, createSheet + ";" + classRows({"C16", "C24"}));
    StrengthClassConnection startUp;
    StrengthClassConnection later;
    startUp.bind("fm,k", [](const std::string&) {});
    later.bind("fm,k", [](const std::string&) {});
    later.bind("Ek", [](const std::string&) {});
    startUp.setPath(file);
    later.setPath(file);
    EXPECT_EQ(later.changesSince(startUp), std::nullopt); // neither has read
    startUp.open();
    later.open();
    EXPECT_EQ(later.changesSince(startUp), std::nullopt);

    const auto replaceFile = [&](const std::string& rows) {
        std::filesystem::remove(file);
        testing::createDatabase(file, createSheet + ";" + rows);
        later.open();
        return later.changesSince(startUp);
    };
    // A field the earlier connection did not read is no change to it.
    EXPECT_EQ(replaceFile(classRows({"C16"}) + insertRow("'C24'", "101, 10, 0.5, 17, 2.2, 1.8, "
                                                                  "8, 9.9, 0.27, 0.5, 370, 310")),
              std::nullopt);
    std::optional<DatabaseError> change =
        replaceFile(classRows({"C16"}) + insertRow("'C24'", "24, 10, 0.5, 17, 2.2, 1.8, 8, 5.4, "
                                                            "0.27, 0.5, 370, 310"));
    ASSERT_TRUE(change);
    EXPECT_EQ(change->kind(), DatabaseErrorKind::changedSinceRead);
    EXPECT_EQ(change->what(), "The strength-class database " + file +
                                  ": field \"fm,k\" of row 2 (class \"C24\") was \"101\", now "
                                  "\"24\": the file has changed since the program read it at "
                                  "start-up; the main window's results use the values read then");
    change = replaceFile(classRows({"C16"}));
    ASSERT_TRUE(change);
    EXPECT_NE(std::string(change->what()).find("(it had 2 rows, now 1)"), std::string::npos);
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
