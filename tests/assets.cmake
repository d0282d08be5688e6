# Tests of the committed bitmaps and of the generator that draws them, run on
# Qt's offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Gui)

joist_add_test(assets_tests OFFSCREEN DEPENDS generate_assets
               DEFINITIONS JOIST_ASSETS_DIR="${CMAKE_CURRENT_LIST_DIR}/../assets"
                           JOIST_GENERATE_ASSETS="$<TARGET_FILE:generate_assets>"
               LIBS joist_assets Qt6::Gui GTest::gtest SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/assets_test.cpp
)
