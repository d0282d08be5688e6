# Installation as a desktop program, and the Debian package built by CPack.
#
# <prefix>/libexec/timber-joist/ holds the program, its strength-class
# database and its HTML manual side by side, because the program looks for
# them beside its real executable; <prefix>/bin/timber-joist is a relative
# link to it, so the installed tree can be moved or packaged as a whole.
#
# Only the component "program" is installed and packaged: the tests,
# benchmarks, the asset generator and the database builder stay in the build
# tree.

set(JOIST_INSTALL_COMPONENT program)
set(JOIST_PRIVATE_DIR libexec/timber-joist)
set(JOIST_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})
set(JOIST_APP_ID io.github.brannoch.TimberJoist)

# The manual page, made from its template with the lists of keys and columns
# the program's tables give, and the HTML manual made from the page, which the
# program opens with F1 from beside its executable (in the build tree too).
find_program(JOIST_MAN2HTML man2html REQUIRED)
set(JOIST_DOC_BUILD_DIR ${PROJECT_BINARY_DIR}/packaging)
# Where the tests read it too (tests/CMakeLists.txt).
set(JOIST_MANUAL_PAGE ${JOIST_DOC_BUILD_DIR}/man1/timber-joist.1)
set(JOIST_MANUAL_HTML ${JOIST_RUNTIME_DIR}/timber-joist.html)
add_executable(make_manual_page ${JOIST_PACKAGING_DIR}/make_manual_page.cpp)
target_link_libraries(make_manual_page PRIVATE joist_cli joist_build_settings)
add_custom_command(
    OUTPUT ${JOIST_MANUAL_PAGE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${JOIST_DOC_BUILD_DIR}/man1
    COMMAND make_manual_page ${JOIST_PACKAGING_DIR}/timber-joist.1.in ${JOIST_MANUAL_PAGE}
    DEPENDS make_manual_page ${JOIST_PACKAGING_DIR}/timber-joist.1.in
    COMMENT "Making the manual page from its template and the program's tables"
    VERBATIM)
add_custom_command(
    OUTPUT ${JOIST_MANUAL_HTML}
    COMMAND ${CMAKE_COMMAND} -DMAN2HTML=${JOIST_MAN2HTML} -DPAGE=${JOIST_MANUAL_PAGE}
            -DHTML=${JOIST_MANUAL_HTML} -P ${JOIST_PACKAGING_DIR}/manual_html.cmake
    DEPENDS ${JOIST_MANUAL_PAGE} ${JOIST_PACKAGING_DIR}/manual_html.cmake
    COMMENT "Making the HTML manual from timber-joist.1")
# Compressed as Debian's tools compress them: without name or time stamp.
set(JOIST_COMPRESSED_DOCS)
foreach(source ${JOIST_MANUAL_PAGE} ${JOIST_PACKAGING_DIR}/changelog)
    get_filename_component(doc ${source} NAME)
    add_custom_command(
        OUTPUT ${JOIST_DOC_BUILD_DIR}/${doc}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${JOIST_DOC_BUILD_DIR}/${doc}
        COMMAND gzip -9nf ${JOIST_DOC_BUILD_DIR}/${doc}
        DEPENDS ${source}
        COMMENT "Compressing ${doc}")
    list(APPEND JOIST_COMPRESSED_DOCS ${JOIST_DOC_BUILD_DIR}/${doc}.gz)
endforeach()
add_custom_target(program_documents ALL DEPENDS ${JOIST_MANUAL_HTML} ${JOIST_COMPRESSED_DOCS})
add_dependencies(timber-joist program_documents)

install(TARGETS timber-joist
        RUNTIME DESTINATION ${JOIST_PRIVATE_DIR}
        COMPONENT ${JOIST_INSTALL_COMPONENT})
# What Debian's dh_strip removes beyond CPack's strip: the compiler's notes,
# which nothing reads at run time.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${JOIST_PRIVATE_DIR}/timber-joist\"
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()
" COMPONENT ${JOIST_INSTALL_COMPONENT})
# Data files as Debian's policy installs them; the program opens the table
# read-only all the same.
install(FILES ${JOIST_RUNTIME_DIR}/ZU5ZO.mdb ${JOIST_RUNTIME_DIR}/EN338-2016.mdb
              ${JOIST_RUNTIME_DIR}/EN14080.mdb ${JOIST_MANUAL_HTML}
        DESTINATION ${JOIST_PRIVATE_DIR}
        COMPONENT ${JOIST_INSTALL_COMPONENT})
install(FILES ${JOIST_DOC_BUILD_DIR}/timber-joist.1.gz
        DESTINATION share/man/man1
        COMPONENT ${JOIST_INSTALL_COMPONENT})
install(FILES ${JOIST_PACKAGING_DIR}/copyright ${JOIST_DOC_BUILD_DIR}/changelog.gz
        DESTINATION share/doc/timber-joist
        COMPONENT ${JOIST_INSTALL_COMPONENT})
# Tags of lintian's that do not apply, each with its reason.
install(FILES ${JOIST_PACKAGING_DIR}/lintian-overrides
        DESTINATION share/lintian/overrides
        RENAME timber-joist
        COMPONENT ${JOIST_INSTALL_COMPONENT})

# The link is made at install time inside the (staged) prefix; DESTDIR is
# honoured so that CPack's staging tree gets it too.
install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/timber-joist\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    message(STATUS \"Installing: \${link} -> ../${JOIST_PRIVATE_DIR}/timber-joist\")
    file(CREATE_LINK ../${JOIST_PRIVATE_DIR}/timber-joist \"\${link}\" SYMBOLIC)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${CMAKE_INSTALL_PREFIX}/bin/timber-joist\")
" COMPONENT ${JOIST_INSTALL_COMPONENT})

install(FILES ${JOIST_PACKAGING_DIR}/timber-joist.desktop
        DESTINATION share/applications
        COMPONENT ${JOIST_INSTALL_COMPONENT})
# The design files' type; the package's trigger updates the MIME database.
install(FILES ${JOIST_PACKAGING_DIR}/timber-joist.xml
        DESTINATION share/mime/packages
        COMPONENT ${JOIST_INSTALL_COMPONENT})
install(FILES ${JOIST_PACKAGING_DIR}/${JOIST_APP_ID}.metainfo.xml
        DESTINATION share/metainfo
        COMPONENT ${JOIST_INSTALL_COMPONENT})
foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/assets/icons/${size}x${size}/timber-joist.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps
            COMPONENT ${JOIST_INSTALL_COMPONENT})
endforeach()

# The Debian package: cmake --build <dir> --target package, or cpack -G DEB in <dir>.
set(JOIST_PACKAGE_MAINTAINER "Brannoch <brannoch@users.noreply.github.com>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME timber-joist)
set(CPACK_PACKAGE_VENDOR Brannoch)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Timber floor joist design to Eurocode 5")
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop calculator for structural engineers that checks one simply\n"
    "supported timber floor joist to Eurocode 5 (EN 1995-1-1), live on every\n"
    "keystroke: bending, shear and bearing at the ultimate limit state, and the\n"
    "deflections u 2, u 2,fin and u net,fin at the serviceability limit state,\n"
    "under deflection limits of the engineer's choosing, with an optional floor\n"
    "vibration check (EN 1995-1-1 7.3.3, UK National Annex).\n"
    "Designs are kept in .joist files; the span table and a calculation sheet\n"
    "(printed, PDF or copied) go with each; timber-joist --check and --schedule\n"
    "check design files and CSV schedules without a display.\n"
    "Material properties come from the strength classes C14 to D70 of\n"
    "EN 338:2003, shipped with the program.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT ${JOIST_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Package the program's component only, whatever else the build tree installs.
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${PROJECT_BINARY_DIR};${PROJECT_NAME};${JOIST_INSTALL_COMPONENT};/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${JOIST_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/brannoch/timber-joist)
# Library packages come from dpkg-shlibdeps (dpkg-dev). What Qt loads at run
# time no linker records: the xcb window system plugin (qt6-qpa-plugins), and
# the font the fixed layout is measured for (Liberation Sans, metric-compatible
# with the Windows sans serif).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation | fonts-liberation2")
# The strength-class reader needs SQLite 3.37 (it checks for that version at
# run time), later than the symbols it links would demand. Said the Debian
# way, in a shlibs.local that dpkg-shlibdeps reads from the staging tree
# (CPack removes the debian folder there before packaging), so that Depends
# names SQLite once.
set(CPACK_PRE_BUILD_SCRIPTS ${JOIST_PACKAGING_DIR}/sqlite_dependency.cmake)
# Qt's own dialogs (print, save) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

include(CPack)
