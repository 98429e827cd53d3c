# A Debian package of the installed files: `cpack -G DEB` in the build folder, or
# scripts/package.sh, which also checks the package.
set(CPACK_PACKAGE_NAME numvex)
set(CPACK_PACKAGE_VENDOR "Numvex")
set(CPACK_PACKAGE_CONTACT "Numvex developers <numvex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tape calculator inside a text editor")
set(CPACK_PACKAGE_DESCRIPTION
    "Numvex works like an adding machine with a paper roll: amounts typed on the keypad\n"
    "become formatted tape lines with their totals, and the tape is ordinary text that can be\n"
    "corrected and annotated, recalculated as you edit. Also a text editor with syntax\n"
    "highlighting, and numvex-tape to recalculate tapes from scripts.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps; Qt's platform plugins are loaded
# at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(NUMVEX_GUI)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
endif()
include(CPack)
