# Cross-compiles pelk.exe and tivor.exe for 32-bit Windows with Debian's
# MinGW-w64 compiler (package g++-mingw-w64-i686-posix):
#
#   cmake -S . -B build-windows32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake
#   cmake --build build-windows32 -j2
#
# Everything else is as in the 64-bit build (mingw-w64.cmake).
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
