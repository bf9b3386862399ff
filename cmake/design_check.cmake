# Fails when a source file of pelk/, tivor/ or common/ is not named in DESIGN.md.
# Run as: cmake -DSOURCE_DIR=<top of the tree> -P design_check.cmake
# A file X.hpp is named by "`X.hpp", a file X.cpp by "`X.cpp" or "`X.hpp/.cpp",
# X being its path below pelk/ or tivor/. Unit tests (*_test.cpp) are not listed.
file(READ "${SOURCE_DIR}/DESIGN.md" design)
set(missing "")
foreach(program pelk tivor common)
  file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}/${program}"
    "${SOURCE_DIR}/${program}/*.cpp" "${SOURCE_DIR}/${program}/*.hpp")
  foreach(source IN LISTS sources)
    if(source MATCHES "_test\\.cpp$")
      continue()
    endif()
    string(REGEX REPLACE "\\.(cpp|hpp)$" "" stem "${source}")
    string(FIND "${design}" "`${source}" at)
    if(at EQUAL -1 AND source MATCHES "\\.cpp$")
      string(FIND "${design}" "`${stem}.hpp/.cpp" at)
    endif()
    if(at EQUAL -1)
      list(APPEND missing "${program}/${source}")
    endif()
  endforeach()
endforeach()
if(missing)
  list(JOIN missing "\n  " text)
  message(FATAL_ERROR "DESIGN.md names no line for:\n  ${text}")
endif()
