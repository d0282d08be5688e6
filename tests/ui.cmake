# Tests of the window layer, run on Qt's offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Test Widgets)

joist_add_test(toolkit_tests OFFSCREEN LIBS joist_ui Qt6::Test GTest::gtest SOURCES
    qt_test_main.cpp
    section_sketch_test.cpp
    picture_box_test.cpp
    toolkit_events_test.cpp
    span_table_window_test.cpp
)

find_package(SQLite3 REQUIRED)
joist_add_test(main_window_tests OFFSCREEN DATABASE
               LIBS joist_ui SQLite::SQLite3 Qt6::Test GTest::gtest SOURCES
    qt_test_main.cpp
    design_basis_window_test.cpp
    main_window_actions_test.cpp
    main_window_test.cpp
    material_data_window_test.cpp
    result_working_test.cpp
    window_messages_test.cpp
)

# The real program in a real X server.
add_test(NAME ProgramStartsInAnXServer
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/start_in_x_server.sh $<TARGET_FILE:timber-joist>)
set_tests_properties(ProgramStartsInAnXServer PROPERTIES TIMEOUT 60)

# Thousands of random user actions; JOIST_PROPERTY_SEED and
# JOIST_PROPERTY_ACTIONS reproduce or lengthen a run.
joist_add_test(screen_consistency_tests OFFSCREEN DATABASE TIMEOUT 600
               LIBS joist_ui SQLite::SQLite3 Qt6::Test GTest::gtest SOURCES
    qt_test_main.cpp
    screen_consistency_test.cpp
)

# The calculation sheet, read back with pdftotext (poppler-utils).
joist_add_test(calculation_sheet_tests OFFSCREEN LIBS joist_ui Qt6::Test GTest::gtest SOURCES
    qt_test_main.cpp
    calculation_sheet_test.cpp
)
