# Run by CPack after staging, before the Debian package is built: tells
# dpkg-shlibdeps that the program needs SQLite 3.37 or later, which its
# reader checks for at run time and no linked symbol would demand.
if(NOT CPACK_TEMPORARY_DIRECTORY)
    message(FATAL_ERROR "CPack did not say where it stages the package")
endif()
file(WRITE "${CPACK_TEMPORARY_DIRECTORY}/debian/shlibs.local" "libsqlite3 0 libsqlite3-0 (>= 3.37)\n")
