# SPDX-License-Identifier: MIT
# What `cmake --install` puts in place, laid out by GNUInstallDirs, and the
# Debian package that `cpack -G DEB` makes of it. Included from the top-level
# CMakeLists.txt after app/, so the tavlin target exists.
include(GNUInstallDirs)

install(TARGETS tavlin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(TAVLIN_APP_ID io.github.tavlin.Tavlin)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TAVLIN_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TAVLIN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/tavlin.mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME tavlin.xml)
# res/icons/ is already laid out as the hicolor theme wants it (written by make_icon.py).
install(DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/icons/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/tavlin.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/examples/tavlin.xml ${CMAKE_SOURCE_DIR}/examples/chip.svd
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tavlin/examples)
# The GDB extension (the file sourced and its GDB-free half, which it finds
# beside itself) finds the program as ../../../bin/tavlin from where it is installed.
install(FILES ${CMAKE_SOURCE_DIR}/gdb/tavlin.py ${CMAKE_SOURCE_DIR}/gdb/tavlin_support.py
        DESTINATION ${CMAKE_INSTALL_DATADIR}/tavlin/gdb)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME tavlin)
set(CPACK_PACKAGE_VENDOR "The tavlin developers")
set(CPACK_PACKAGE_CONTACT "The tavlin developers <developers@tavlin.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "register reference and bit-field calculator")
# All four parts of the version (CPack would otherwise keep only three).
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# One line of the package's long description a line here, as Debian wants them short.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "tavlin shows a device's register sets, registers and bit fields as a tree,"
  "read from a tavlin definitions file or a CMSIS-SVD device description."
  "Setting fields composes the register value into a hex box and a decimal box;"
  "typing into the hex box splits the number back into the fields."
  "tavlin --check and --dump check a file from a script without a window.")
set(CPACK_PACKAGE_HOMEPAGE_URL https://github.com/tavlin/tavlin)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
# The package carries the program without its debugging information.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# dpkg-shlibdeps names the libraries the program links to (Qt, pugixml, the C and C++ libraries) as Depends.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
