# Tests of the committed bitmaps and of the generator that draws them, run on
# Qt's offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Gui)

add_executable(assets_tests ${CMAKE_CURRENT_LIST_DIR}/assets_test.cpp)
target_link_libraries(assets_tests PRIVATE joist_assets Qt6::Gui GTest::gtest)
target_compile_definitions(assets_tests PRIVATE
    JOIST_ASSETS_DIR="${CMAKE_CURRENT_LIST_DIR}/../assets"
    JOIST_GENERATE_ASSETS="$<TARGET_FILE:generate_assets>")
add_dependencies(assets_tests generate_assets)
gtest_discover_tests(assets_tests
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
