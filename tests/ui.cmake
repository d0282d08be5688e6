# Tests of the window layer, run on Qt's offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Test Widgets)

add_executable(toolkit_tests
    qt_test_main.cpp
    section_sketch_test.cpp
    picture_box_test.cpp
    toolkit_events_test.cpp
)
target_link_libraries(toolkit_tests PRIVATE joist_ui Qt6::Test GTest::gtest)
gtest_discover_tests(toolkit_tests
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
