#include <gtest/gtest.h>

#include "engine/number_text.h"
#include "materials/strength_class_fields.h"
#include "materials/strength_class_sequences.h"
#include "materials_fixtures.h"
#include "tests/thrown_error.h"

namespace materials {
namespace {

using testing_support::thrownError;

using testing::classRows;
using testing::createSheet;
using testing::FakeClassList;
using testing::FakeLabel;
using testing::insertRow;
using testing::makeTable;
using testing::TemporaryDirectory;

// The main window's side: its connection with the design fields bound, list
// and label.
struct MainWindow
{
    MainWindow()
    {
        connection.bind("fm,k", [this](const std::string& t) { strength = t; });
        for (const std::string_view field : testing::designFieldNames)
            connection.bind(std::string(field), [](const std::string&) {});
    }
    StrengthClassConnection connection;
    FakeClassList list;
    FakeLabel classLabel;
    std::string strength = "unset";

    void pick(int index)
    {
        list.selected = index;
        selectStrengthClass(connection, list, classLabel);
    }
};

DatabaseError fillFailure(MainWindow& window, const std::string& file)
{
    return thrownError<DatabaseError>(
               [&] { fillStrengthClassList(window.connection, window.list, file); })
        .value_or(DatabaseError(DatabaseErrorKind::readFailed, ""));
}

std::string rowsNamedByNumber(int count)
{
    return "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
           std::to_string(count) +
           ") INSERT INTO Sheet1 SELECT i, 'K' || i, 16, 10, 0.5, 17, 2.2, 1.8, 8, 5.4, 0.27, "
           "0.5, 370, 310 FROM n";
}

TEST(FillStrengthClassList, ListsEveryClassInStoredOrderAndEndsAfterTheLastRow)
{
    TemporaryDirectory directory;
    const std::string file =
        makeTable(directory, createSheet + ";" + classRows({"C24", "C14", "D30"}));
    MainWindow window;
    window.list.entries = {"left over"};
    fillStrengthClassList(window.connection, window.list, file);

    EXPECT_EQ(window.list.entries, (std::vector<std::string>{"C24", "C14", "D30"}));
    EXPECT_EQ(window.list.clears, 1);
    EXPECT_EQ(window.list.selected, -1);
    EXPECT_EQ(window.classLabel.text, "unchanged");
    EXPECT_EQ(window.connection.path(), file);
    EXPECT_EQ(window.connection.currentRow(), 3); // after the last row
    EXPECT_EQ(window.strength, "");
}

TEST(FillStrengthClassList, ReadsClassNamesOnlyWhateverFieldZeroHolds)
{
    TemporaryDirectory directory;
    const std::string file = makeTable(
        directory, R"(CREATE TABLE Sheet1 ("Key" TEXT, "Class", "fm,k", "ft,0,k", "ft,90,k",
                      "fc,0,k", "fc,90,k", "fv,k", "E0,mean", "Ek", "E90,mean", "Gmean", "rmean",
                      "rk");
                      INSERT INTO Sheet1 ("Key", "Class") VALUES ('D70', 'C18'), (NULL, 14),
                          ('D70', ''), (x'00', 'C16'))");
    MainWindow window;
    fillStrengthClassList(window.connection, window.list, file);
    // An empty text is a class name; a number is listed as its text.
    EXPECT_EQ(window.list.entries, (std::vector<std::string>{"C18", "14", "", "C16"}));
}

TEST(FillStrengthClassList, ListsAll32766RowsOfTheLargestTable)
{
    TemporaryDirectory directory;
    MainWindow window;
    const std::string largest = directory.file("largest.mdb");
    testing::createDatabase(largest, createSheet + ";" + rowsNamedByNumber(32766));
    fillStrengthClassList(window.connection, window.list, largest);
    ASSERT_EQ(window.list.entries.size(), 32766u);
    EXPECT_EQ(window.list.entries.front(), "K1");
    EXPECT_EQ(window.list.entries.back(), "K32766");
    window.pick(32765);
    EXPECT_EQ(window.classLabel.text, "K32766");
}

TEST(FillStrengthClassList, ReportsARowWithoutClassNameAndAnEmptyTable)
{
    TemporaryDirectory directory;
    MainWindow window;
    const std::string file = directory.file("ZU5ZO.mdb");
    testing::createDatabase(file, createSheet + ";" + classRows({"C14"}) +
                                      insertRow("NULL", "16, 10, 0.5, 17, 2.2, 1.8, 8, 5.4, "
                                                        "0.27, 0.5, 370, 310"));
    DatabaseError error = fillFailure(window, file);
    EXPECT_EQ(error.kind(), DatabaseErrorKind::missingClassName);
    EXPECT_EQ(error.what(), "The strength-class database " + file +
                                ": row 2 of table \"Sheet1\" has no class name (the field "
                                "\"Class\" holds no value)");
    EXPECT_EQ(window.list.entries, std::vector<std::string>{"C14"});

    const std::string empty = directory.file("empty.mdb");
    testing::createDatabase(empty, createSheet);
    error = fillFailure(window, empty);
    EXPECT_EQ(error.kind(), DatabaseErrorKind::emptyTable);
    EXPECT_NE(std::string(error.what()).find(empty), std::string::npos);
}

TEST(SelectStrengthClass, StandsOnTheRowAtTheSelectedPosition)
{
    TemporaryDirectory directory;
    const std::string file =
        makeTable(directory, createSheet + ";" + classRows({"C24", "C16", "D30", "C16"}));
    MainWindow window;
    fillStrengthClassList(window.connection, window.list, file);

    window.pick(2);
    EXPECT_EQ(window.connection.currentRow(), 2);
    EXPECT_EQ(window.classLabel.text, "D30");
    EXPECT_EQ(window.strength, "102");

    // Equal names are told apart by position alone.
    window.pick(3);
    EXPECT_EQ(window.classLabel.text, "C16");
    EXPECT_EQ(window.strength, "103");
    window.pick(1);
    EXPECT_EQ(window.classLabel.text, "C16");
    EXPECT_EQ(window.strength, "101");
}

TEST(SelectStrengthClass, RefusesASelectionWithoutARowAndMovesNothing)
{
    TemporaryDirectory directory;
    const std::string file = makeTable(directory, createSheet + ";" + classRows({"C16", "C24"}));
    MainWindow window;
    fillStrengthClassList(window.connection, window.list, file);
    window.pick(1);

    for (int index : {-1, 2}) {
        const auto error = thrownError<DatabaseError>([&] { window.pick(index); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), DatabaseErrorKind::selectedRowMissing);
        EXPECT_NE(std::string(error->what()).find(file), std::string::npos);
        EXPECT_EQ(window.connection.currentRow(), 1);
        EXPECT_EQ(window.classLabel.text, "C24");
        EXPECT_EQ(window.strength, "101");
    }
}

TEST(PositionOnSelectedClass, UsesItsOwnConnectionWhichKeepsItsRow)
{
    TemporaryDirectory directory;
    const std::string file =
        makeTable(directory, createSheet + ";" + classRows({"C14", "C16", "C24"}));
    MainWindow window;
    fillStrengthClassList(window.connection, window.list, file);
    window.pick(1);

    StrengthClassConnection dataWindow;
    std::string heading;
    dataWindow.bind("Class", [&heading](const std::string& t) { heading = t; });
    positionOnSelectedClass(dataWindow, file, window.list.selectedIndex());
    EXPECT_EQ(heading, "C16");

    window.pick(2);
    EXPECT_EQ(heading, "C16");
    EXPECT_EQ(dataWindow.currentRow(), 1);
    EXPECT_EQ(window.classLabel.text, "C24");

    // A selection the table has no row for, as after the file was replaced.
    for (const int index : {-1, 3}) {
        const auto error =
            thrownError<DatabaseError>([&] { positionOnSelectedClass(dataWindow, file, index); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->kind(), DatabaseErrorKind::selectedRowMissing);
        if (index == 3) {
            EXPECT_EQ(error->what(), "The strength-class database " + file +
                                         ": it has changed since the program listed its "
                                         "classes: the table has no row for the selected "
                                         "class (entry 4 of the class list)");
        }
    }

    closeDatabase(window.connection);
    EXPECT_FALSE(window.connection.isOpen());
    EXPECT_TRUE(dataWindow.isOpen());
}

TEST(DesignFieldErrors, NameFileRowClassAndField)
{
    TemporaryDirectory directory;
    const std::string file = makeTable(
        directory, createSheet + ";" + classRows({"C14"}) +
                       insertRow("'C16'", "'16 N', 10, 0.5, 17, NULL, 1.8, 8, 5.4, 0.27, 0.5, "
                                          "3.5e38, 310"));
    MainWindow window;
    fillStrengthClassList(window.connection, window.list, file);
    window.pick(1);

    DatabaseError error = nonNumericFieldError(window.connection, "fm,k");
    EXPECT_EQ(error.kind(), DatabaseErrorKind::nonNumericValue);
    EXPECT_EQ(error.what(), "The strength-class database " + file +
                                ": field \"fm,k\" of row 2 (class \"C16\") must hold a number "
                                "that the program can read, but it holds \"16 N\"");
    EXPECT_NE(std::string(nonNumericFieldError(window.connection, "fc,90,k").what())
                  .find("\"fc,90,k\" of row 2 (class \"C16\") must hold a number that the "
                        "program can read, but it is empty"),
              std::string::npos);
    // A number beyond single precision is no input either.
    const std::string tooLarge = *fieldText(window.connection.fieldValue("rmean"), ".");
    EXPECT_EQ(joist::parseNumber(tooLarge, "."), std::nullopt);
    EXPECT_NE(std::string(nonNumericFieldError(window.connection, "rmean").what())
                  .find("but it holds \"3.5e+38\""),
              std::string::npos);

    window.connection.moveLast();
    window.connection.moveNext();
    EXPECT_EQ(nonNumericFieldError(window.connection, "fm,k").kind(),
              DatabaseErrorKind::noCurrentRow);
}

TEST(BoundLabels, CarryEveryStoredDigitUntilTheDesignReadsThem)
{
    TemporaryDirectory directory;
    const std::string file = makeTable(
        directory, createSheet + ";" +
                       insertRow("'C16'", "16.123456789012, 10, 0.5, 17, 2.2, 1.8, 8, 5.4, 0.27, "
                                          "0.5, 370, 310"));
    for (const std::string separator : {".", ","}) {
        MainWindow window;
        StrengthClassConnection connection(separator);
        std::string strength;
        connection.bind("fm,k", [&strength](const std::string& t) { strength = t; });
        fillStrengthClassList(connection, window.list, file);
        window.list.selected = 0;
        selectStrengthClass(connection, window.list, window.classLabel);
        EXPECT_EQ(strength, "16" + separator + "123456789012");
        // Only the conversion to the design's single precision shortens it.
        EXPECT_EQ(joist::parseNumber(strength, separator), 16.123456789012f);
    }
}

TEST(DatabasePath, JoinsTheDirectoryAndTheFileNameWithTheSystemsSeparator)
{
    EXPECT_EQ(databasePath("/opt/joist/bin"), "/opt/joist/bin/ZU5ZO.mdb");
    EXPECT_EQ(databasePath("/opt/my joist"), "/opt/my joist/ZU5ZO.mdb");

    const std::filesystem::path directory = programDirectory();
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_TRUE(directory.is_absolute());
    EXPECT_TRUE(std::filesystem::equivalent(directory / executable.filename(), executable));
}

} // namespace
} // namespace materials
