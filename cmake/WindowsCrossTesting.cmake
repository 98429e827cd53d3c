# Tests of a Windows cross build: GoogleTest compiled from Debian's sources (package
# googletest; Debian ships no MinGW build of it), and Wine to run the test programs.

set(NUMVEX_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${NUMVEX_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${NUMVEX_GOOGLETEST_SOURCE} (apt-get install googletest)")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)  # the tests built here use GoogleTest alone
add_subdirectory(${NUMVEX_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# GoogleTest is not ours to keep free of warnings.
foreach(target gtest gtest_main)
  set_property(TARGET ${target} PROPERTY COMPILE_OPTIONS "")
  set_property(TARGET ${target} APPEND PROPERTY COMPILE_OPTIONS -w)
endforeach()

# Every test program runs through the Wine wrapper, which keeps a private prefix in the build
# folder (created on first use).
find_program(NUMVEX_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(NUMVEX_WINE NAMES wine64 wine)
if(NOT NUMVEX_WINE)
  message(FATAL_ERROR "Wine is needed to run the Windows tests (apt-get install wine64)")
endif()
set(NUMVEX_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_SOURCE_DIR}/cmake/wine_run.sh ${NUMVEX_WINE} ${NUMVEX_WINE_PREFIX})
