#include <array>
#include <filesystem>
#include <gtest/gtest.h>

#include "materials/class_material.h"
#include "materials/shipped_table.h"
#include "materials/strength_class_connection.h"
#include "materials/strength_class_fields.h"
#include "materials_fixtures.h"

namespace materials {
namespace {

struct ShippedClass
{
    std::string_view name;
    std::array<double, 12> values; // in the order of propertyFieldNames
};

// EN 338:2003, Table 1. Ek is E0,05.
constexpr std::array<ShippedClass, 18> en338{{
    {"C14", {14, 8, 0.4, 16, 2.0, 1.7, 7.0, 4.7, 0.23, 0.44, 350, 290}},
    {"C16", {16, 10, 0.5, 17, 2.2, 1.8, 8.0, 5.4, 0.27, 0.50, 370, 310}},
    {"C18", {18, 11, 0.5, 18, 2.2, 2.0, 9.0, 6.0, 0.30, 0.56, 380, 320}},
    {"C20", {20, 12, 0.5, 19, 2.3, 2.2, 9.5, 6.4, 0.32, 0.59, 390, 330}},
    {"C22", {22, 13, 0.5, 20, 2.4, 2.4, 10.0, 6.7, 0.33, 0.63, 410, 340}},
    {"C24", {24, 14, 0.5, 21, 2.5, 2.5, 11.0, 7.4, 0.37, 0.69, 420, 350}},
    {"C27", {27, 16, 0.6, 22, 2.6, 2.8, 11.5, 7.7, 0.38, 0.72, 450, 370}},
    {"C30", {30, 18, 0.6, 23, 2.7, 3.0, 12.0, 8.0, 0.40, 0.75, 460, 380}},
    {"C35", {35, 21, 0.6, 25, 2.8, 3.4, 13.0, 8.7, 0.43, 0.81, 480, 400}},
    {"C40", {40, 24, 0.6, 26, 2.9, 3.8, 14.0, 9.4, 0.47, 0.88, 500, 420}},
    {"C45", {45, 27, 0.6, 27, 3.1, 3.8, 15.0, 10.0, 0.50, 0.94, 520, 440}},
    {"C50", {50, 30, 0.6, 29, 3.2, 3.8, 16.0, 10.7, 0.53, 1.00, 550, 460}},
    {"D30", {30, 18, 0.6, 23, 8.0, 3.0, 10.0, 8.0, 0.64, 0.60, 640, 530}},
    {"D35", {35, 21, 0.6, 25, 8.4, 3.4, 10.0, 8.7, 0.69, 0.65, 670, 560}},
    {"D40", {40, 24, 0.6, 26, 8.8, 3.8, 11.0, 9.4, 0.75, 0.70, 700, 590}},
    {"D50", {50, 30, 0.6, 29, 9.7, 4.6, 14.0, 11.8, 0.93, 0.88, 780, 650}},
    {"D60", {60, 36, 0.6, 32, 10.5, 5.3, 17.0, 14.3, 1.13, 1.06, 840, 700}},
    {"D70", {70, 42, 0.6, 34, 13.5, 6.0, 20.0, 16.8, 1.33, 1.25, 1080, 900}},
}};

TEST(ShippedDatabase, HoldsEveryClassOfEN338InItsOrder)
{
    StrengthClassConnection connection;
    for (const std::string_view name : propertyFieldNames)
        connection.bind(std::string(name), [](const std::string&) {});
    connection.setPath(JOIST_SHIPPED_DATABASE);
    connection.open();
    EXPECT_TRUE(isShippedTable(connection.fingerprint()));
    ASSERT_EQ(connection.recordCount(), static_cast<std::int32_t>(en338.size()));
    for (const ShippedClass& expected : en338) {
        SCOPED_TRACE(expected.name);
        EXPECT_EQ(connection.fieldValue(classFieldPosition).value,
                  FieldValue{std::string(expected.name)}.value);
        for (std::size_t i = 0; i < propertyFieldNames.size(); ++i) {
            const FieldValue& value = connection.fieldValue(propertyFieldNames[i]);
            ASSERT_TRUE(std::holds_alternative<double>(value.value)) << propertyFieldNames[i];
            EXPECT_EQ(std::get<double>(value.value), expected.values[i]) << propertyFieldNames[i];
        }
        connection.moveNext();
    }
}

TEST(ShippedDatabase, ShowsC16AsTheDesignExpectsIt)
{
    StrengthClassConnection connection;
    std::vector<std::string> texts;
    for (const std::string_view name : testing::designFieldNames)
        connection.bind(std::string(name), [&texts](const std::string& t) { texts.push_back(t); });
    connection.setPath(JOIST_SHIPPED_DATABASE);
    connection.open();
    texts.clear();
    connection.moveNext();
    EXPECT_EQ(texts, (std::vector<std::string>{"16", "2.2", "1.8", "8", "370"}));
}

TEST(ShippedDatabase, IsAStandaloneRollbackJournalFile)
{
    const std::string bytes = testing::readFile(JOIST_SHIPPED_DATABASE);
    ASSERT_GT(bytes.size(), 100u);
    EXPECT_EQ(bytes.substr(0, 16), std::string("SQLite format 3\0", 16));
    // Header bytes 18 and 19 are 1 for a rollback journal, 2 for WAL.
    EXPECT_EQ(bytes[18], 1);
    EXPECT_EQ(bytes[19], 1);
}

// The tables beside ZU5ZO.mdb: each known by its digest, each class's
// material as its field says (ZU5ZO.mdb has none: C softwood, D hardwood),
// and one value of each that changed from EN 338:2003 or is glulam's own.
TEST(ShippedDatabase, EachTableKnowsItsClassesMaterial)
{
    const std::filesystem::path directory =
        std::filesystem::path(JOIST_SHIPPED_DATABASE).parent_path();
    const struct
    {
        joist::TableChoice choice;
        std::int32_t classes;
        std::string_view className, field;
        double value;
    } tables[] = {
        {joist::TableChoice::shipped, 18, "C24", "fv,k", 2.5},
        {joist::TableChoice::en338_2016, 26, "C24", "fv,k", 4.0},
        {joist::TableChoice::en14080, 14, "GL24h", "E0,mean", 11.5},
    };
    for (const auto& table : tables) {
        SCOPED_TRACE(shippedTableOf(table.choice).fileName);
        StrengthClassConnection connection;
        connection.bind(std::string(table.field), [](const std::string&) {});
        readMaterialFields(connection);
        connection.setPath(tablePath(directory, table.choice));
        connection.open();
        EXPECT_EQ(shippedTableOfFingerprint(connection.fingerprint()), table.choice);
        // An edited copy of it is told apart from the edition it came as.
        EXPECT_TRUE(
            modifiedTableNotice(connection.path()).ends_with(shippedTableOf(table.choice).edition));
        EXPECT_EQ(connection.recordCount(), table.classes);
        for (std::int32_t row = 0; row < connection.recordCount(); ++row, connection.moveNext()) {
            const auto& name =
                std::get<std::string>(connection.fieldValue(classFieldPosition).value);
            const joist::Material expected = name.starts_with("GL")  ? joist::Material::glulam
                                             : name.starts_with('C') ? joist::Material::softwood
                                                                     : joist::Material::hardwood;
            EXPECT_EQ(currentMaterial(connection).material, expected) << name;
            if (name == table.className)
                EXPECT_EQ(std::get<double>(connection.fieldValue(table.field).value), table.value);
        }
    }
}

} // namespace
} // namespace materials
