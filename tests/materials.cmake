# Tests of the strength-class table.
find_package(SQLite3 REQUIRED)

joist_add_test(materials_tests DATABASE
               LIBS joist_materials joist_engine SQLite::SQLite3 GTest::gtest_main SOURCES
    field_value_test.cpp
    sheet_reader_test.cpp
    shipped_database_test.cpp
    strength_class_connection_test.cpp
    strength_class_sequences_test.cpp
)
