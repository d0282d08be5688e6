# Tests of the window layer, run on Qt's offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Test Widgets)

add_executable(toolkit_tests
    qt_test_main.cpp
    section_sketch_test.cpp
    picture_box_test.cpp
    toolkit_events_test.cpp
    span_table_window_test.cpp
)
target_link_libraries(toolkit_tests PRIVATE joist_ui Qt6::Test GTest::gtest)
gtest_discover_tests(toolkit_tests
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)

find_package(SQLite3 REQUIRED)
add_executable(main_window_tests
    qt_test_main.cpp
    main_window_actions_test.cpp
    main_window_test.cpp
    material_data_window_test.cpp
    result_working_test.cpp
    window_messages_test.cpp
)
target_link_libraries(main_window_tests PRIVATE joist_ui SQLite::SQLite3 Qt6::Test GTest::gtest)
target_compile_definitions(main_window_tests PRIVATE JOIST_RUNTIME_DIR="${JOIST_RUNTIME_DIR}")
add_dependencies(main_window_tests strength_class_database)
gtest_discover_tests(main_window_tests
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)

# The real program in a real X server.
add_test(NAME ProgramStartsInAnXServer
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/start_in_x_server.sh $<TARGET_FILE:timber-joist>)
set_tests_properties(ProgramStartsInAnXServer PROPERTIES TIMEOUT 60)

# Thousands of random user actions; JOIST_PROPERTY_SEED and
# JOIST_PROPERTY_ACTIONS reproduce or lengthen a run.
add_executable(screen_consistency_tests qt_test_main.cpp screen_consistency_test.cpp)
target_link_libraries(screen_consistency_tests PRIVATE joist_ui SQLite::SQLite3 Qt6::Test GTest::gtest)
target_compile_definitions(screen_consistency_tests PRIVATE JOIST_RUNTIME_DIR="${JOIST_RUNTIME_DIR}")
add_dependencies(screen_consistency_tests strength_class_database)
gtest_discover_tests(screen_consistency_tests
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 600
    DISCOVERY_TIMEOUT 60)

# The calculation sheet, read back with pdftotext (poppler-utils).
add_executable(calculation_sheet_tests qt_test_main.cpp calculation_sheet_test.cpp)
target_link_libraries(calculation_sheet_tests PRIVATE joist_ui Qt6::Test GTest::gtest)
gtest_discover_tests(calculation_sheet_tests
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
