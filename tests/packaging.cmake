# Tests of the installed program, its desktop integration and the Debian package.
set(JOIST_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(JOIST_METAINFO ${JOIST_PACKAGING_DIR}/io.github.brannoch.TimberJoist.metainfo.xml)

add_test(NAME DesktopEntryIsValid
         COMMAND desktop-file-validate ${JOIST_PACKAGING_DIR}/timber-joist.desktop)
# desktop-file-validate exits 0 on warnings and hints; the entry has none.
set_tests_properties(DesktopEntryIsValid PROPERTIES FAIL_REGULAR_EXPRESSION "error|warning|hint")

add_test(NAME MimeTypeIsValid
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/mime_type_test.sh
                 ${JOIST_PACKAGING_DIR}/timber-joist.xml ${JOIST_PACKAGING_DIR}/timber-joist.desktop)

add_test(NAME MetainfoIsValid COMMAND appstreamcli validate --no-net ${JOIST_METAINFO})
# A version bump needs a release entry, or software centres show the old one.
add_test(NAME MetainfoNamesThisRelease
         COMMAND grep -qF "<release version=\"${PROJECT_VERSION}\"" ${JOIST_METAINFO})

add_test(NAME InstalledProgramRuns
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/installed_program_test.sh
                 ${CMAKE_COMMAND} ${PROJECT_BINARY_DIR} $<TARGET_FILE:timber-joist>)
set_tests_properties(InstalledProgramRuns PROPERTIES TIMEOUT 180 RESOURCE_LOCK installing)

add_test(NAME DebianPackageIsRight
         COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/debian_package_test.sh
                 ${CMAKE_CPACK_COMMAND} ${PROJECT_BINARY_DIR} ${PROJECT_VERSION}
                 ${JOIST_RUNTIME_DIR}/ZU5ZO.mdb)
set_tests_properties(DebianPackageIsRight PROPERTIES TIMEOUT 300 RESOURCE_LOCK installing)
