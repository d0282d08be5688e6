# Tests of the strength-class table.
find_package(SQLite3 REQUIRED)

add_executable(materials_tests
    field_value_test.cpp
    sheet_reader_test.cpp
    shipped_database_test.cpp
    strength_class_connection_test.cpp
    strength_class_sequences_test.cpp
)
target_link_libraries(materials_tests PRIVATE joist_materials joist_engine SQLite::SQLite3
                                              GTest::gtest_main)
target_compile_definitions(materials_tests PRIVATE
    JOIST_SHIPPED_DATABASE="${JOIST_RUNTIME_DIR}/ZU5ZO.mdb")
add_dependencies(materials_tests strength_class_database)
gtest_discover_tests(materials_tests DISCOVERY_TIMEOUT 60)
