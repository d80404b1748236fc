# Toolchain for 64-bit Windows programs built with mingw-w64 (Debian's
# g++-mingw-w64-x86-64 and binutils-mingw-w64-x86-64). The stub ships as a 32-bit
# program; its 64-bit build is for the tests, which Wine runs without emulation.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
