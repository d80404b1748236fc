# The part of the mingw-w64 toolchains that does not depend on the target: the include
# file of mingw-w64-i686.cmake and mingw-w64-x86_64.cmake, which set MINGW_PREFIX.
set(CMAKE_SYSTEM_NAME Windows)

# Debian ships each compiler in two thread models. win32 needs no winpthread library and
# is the default; posix has std::mutex and std::thread, which GoogleTest needs.
set(MINGW_THREAD_MODEL win32 CACHE STRING "Thread model of the compiler: win32 or posix")
find_program(CMAKE_C_COMPILER NAMES ${MINGW_PREFIX}-gcc-${MINGW_THREAD_MODEL} ${MINGW_PREFIX}-gcc
             REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${MINGW_PREFIX}-g++-${MINGW_THREAD_MODEL} ${MINGW_PREFIX}-g++
             REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${MINGW_PREFIX}-windres REQUIRED)
find_program(CMAKE_OBJDUMP NAMES ${MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
