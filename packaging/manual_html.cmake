# Makes the HTML manual that F1 opens from the manual page, with man2html
# (Debian's man2html-base), as a page that stands alone: without the CGI
# header, the links into a man page server and the time of the run, so that
# every build of the same page gives the same file.
#
#   cmake -DMAN2HTML=<man2html> -DPAGE=<timber-joist.1> -DHTML=<out.html> -P manual_html.cmake
execute_process(COMMAND ${MAN2HTML} -r ${PAGE}
                OUTPUT_VARIABLE html
                RESULT_VARIABLE status
                ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR errors)
    message(FATAL_ERROR "man2html could not convert ${PAGE}: ${errors}")
endif()
string(REGEX REPLACE "^Content-type:[^\n]*\n\n" "" html "${html}")
string(REPLACE "<A HREF=\"../index.html\">Return to Main Contents</A>" "" html "${html}")
string(REGEX REPLACE "This document was created by\n<A HREF=\"[^\"]*\">man2html</A>,\nusing the manual pages.<BR>\nTime: [^\n]*\n"
       "" html "${html}")
# The header said UTF-8; the page says it itself.
string(REPLACE "<HEAD>" "<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">"
       html "${html}")
if(NOT html MATCHES "^<!DOCTYPE" OR html MATCHES "cgi-bin|Time: |index.html")
    message(FATAL_ERROR "man2html wrote ${PAGE} in a way this script does not know")
endif()
file(WRITE ${HTML}.new "${html}")
file(RENAME ${HTML}.new ${HTML})
