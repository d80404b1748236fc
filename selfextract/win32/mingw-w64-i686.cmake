# Toolchain for 32-bit Windows programs built with mingw-w64 (Debian's
# g++-mingw-w64-i686 and binutils-mingw-w64-i686). Use it with
#   cmake -DCMAKE_TOOLCHAIN_FILE=selfextract/win32/mingw-w64-i686.cmake ...
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
