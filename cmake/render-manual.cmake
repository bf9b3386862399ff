# Renders a manual page as plain ASCII text with CR LF line ends, for the
# Windows package, whose users have no man(1):
#
#   cmake -DGROFF=/usr/bin/groff -DPAGE=man/pelk.1 -DTEXT=pelk-manual.txt -P cmake/render-manual.cmake
#
# groff lays the page out 80 columns wide, without overstriking (no bold or
# underline), so that Notepad shows it as it is.
execute_process(
  COMMAND ${GROFF} -man -Tascii -P-cbou -rLL=78n -rLT=78n ${PAGE}
  OUTPUT_VARIABLE text
  ERROR_VARIABLE warnings
  RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "groff could not render ${PAGE} (status ${status}): ${warnings}")
endif()
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${TEXT} "${text}")
