# Cross-compiles pelk.exe and tivor.exe for 64-bit Windows with Debian's
# MinGW-w64 compiler (package g++-mingw-w64-x86-64-posix):
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
#   cmake --build build-windows -j2
#
# The programs are linked statically, so they run without any DLL beside them.
# The unit and end-to-end tests stay with the Linux build; the end-to-end
# tests can run the .exe files through Wine (see README.md). `cpack -G ZIP`
# in the build directory packs the programs, the READMEs and the manual pages
# (rendered as text by groff) into pelkkit-<version>-win64.zip.
#
# mingw-w64-i686.cmake names the 32-bit compiler and includes this file.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT DEFINED MINGW_TRIPLE)
  set(MINGW_TRIPLE x86_64-w64-mingw32 CACHE STRING "Target triple of the MinGW-w64 compiler")
endif()
if(MINGW_TRIPLE MATCHES "^i686")
  set(CMAKE_SYSTEM_PROCESSOR x86)
else()
  set(CMAKE_SYSTEM_PROCESSOR x86_64)
endif()
find_program(CMAKE_C_COMPILER NAMES ${MINGW_TRIPLE}-gcc-posix ${MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${MINGW_TRIPLE}-g++-posix ${MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# GoogleTest is a Linux package; the Windows build makes the programs only.
set(PELK_TESTS OFF CACHE BOOL "Build the tests" FORCE)
