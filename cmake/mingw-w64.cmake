# Cross build for 64-bit Windows with Debian's MinGW-w64 (package g++-mingw-w64-x86-64):
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DNUMVEX_GUI=OFF
# The -posix compilers give std::thread and std::mutex (gtest needs them). Programs are linked
# statically, so they run under Wine or on a bare Windows without the MinGW runtime DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(NUMVEX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${NUMVEX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${NUMVEX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${NUMVEX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${NUMVEX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
