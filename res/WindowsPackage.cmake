# SPDX-License-Identifier: MIT
# tavlin for 64-bit Windows, cross-built with MinGW-w64 (scripts/package-windows):
# the window program, its console twin, what they load, and the zip and the
# installer CPack makes of them. Included from the top-level CMakeLists.txt
# after app/, so the tavlin target exists.
#
# The folder the zip holds and the installer fills:
#   bin/tavlin.exe          the window (no console flashes up from Explorer or the Start menu)
#   bin/tavlin.com          the same program for the console: cmd and PowerShell take
#                           tavlin.com before tavlin.exe when the user types "tavlin"
#   bin/*.dll               Qt, the MinGW runtime
#   bin/platforms, styles, imageformats   Qt's plugins, found beside the program
#   share/tavlin/examples, share/tavlin/gdb   as on Linux
#   share/doc/tavlin        README, LICENSE and licenses/ of everything shipped

# The icon and version block, one resource script for both programs.
function(tavlin_add_version_resource target file_name)
  set(TAVLIN_RC_FILE_NAME ${file_name})
  set(rc ${PROJECT_BINARY_DIR}/generated/${target}.rc)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/tavlin.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

set_target_properties(tavlin PROPERTIES WIN32_EXECUTABLE ON)
tavlin_add_version_resource(tavlin tavlin.exe)

add_executable(tavlin_console ${PROJECT_SOURCE_DIR}/app/main.cpp)
target_link_libraries(tavlin_console PRIVATE app platform)
# Its own folder: the linker's import library of each program is named after it.
set_target_properties(tavlin_console PROPERTIES OUTPUT_NAME tavlin SUFFIX .com
  RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/console ARCHIVE_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/console)
tavlin_add_version_resource(tavlin_console tavlin.com)

install(TARGETS tavlin tavlin_console RUNTIME DESTINATION bin)

# Qt's libraries and the plugins the program loads: the Windows platform, the
# headless one (-platform offscreen), the native style, and the icon reader.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets)
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets> DESTINATION bin)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin>
        $<TARGET_FILE:Qt6::QMinimalIntegrationPlugin> DESTINATION bin/platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION bin/styles)
install(FILES $<TARGET_FILE:Qt6::QICOPlugin> DESTINATION bin/imageformats)

# The MinGW runtime: the C++ library, GCC's support library and the POSIX threads.
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll} OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  list(APPEND runtime ${path})
endforeach()
find_file(TAVLIN_WINPTHREAD_DLL libwinpthread-1.dll PATHS /usr/x86_64-w64-mingw32/lib NO_DEFAULT_PATH REQUIRED)
install(FILES ${runtime} ${TAVLIN_WINPTHREAD_DLL} DESTINATION bin)
# The libraries without their debugging information, as the programs are
# (CPACK_STRIP_FILES strips only what CMake built).
install(CODE "
  file(GLOB_RECURSE dlls \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/*.dll\")
  execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded \${dlls} COMMAND_ERROR_IS_FATAL ANY)")

install(FILES ${PROJECT_SOURCE_DIR}/examples/tavlin.xml ${PROJECT_SOURCE_DIR}/examples/chip.svd
        DESTINATION share/tavlin/examples)
install(FILES ${PROJECT_SOURCE_DIR}/gdb/tavlin.py ${PROJECT_SOURCE_DIR}/gdb/tavlin_support.py
        DESTINATION share/tavlin/gdb)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION share/doc/tavlin)

# The licence texts of everything shipped, as Debian's packages of them state
# them (the cross build takes Qt, pugixml, Asio and the runtime from Debian).
set(licenses
  "/usr/share/common-licenses/LGPL-3|Qt-LGPL-3.0.txt"
  "/usr/share/common-licenses/GPL-3|Qt-GPL-3.0.txt"
  "/usr/share/doc/libqt6core6/copyright|Qt-copyright.txt"
  "/usr/share/doc/libpugixml-dev/copyright|pugixml.txt"
  "/usr/share/doc/libasio-dev/copyright|Asio.txt"
  "/usr/share/doc/zlib1g/copyright|zlib-and-minizip.txt"
  "/usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright|GCC-runtime-library-exception.txt"
  "/usr/share/doc/mingw-w64-x86-64-dev/copyright|MinGW-w64-winpthreads.txt")
foreach(entry ${licenses})
  string(REPLACE "|" ";" pair ${entry})
  list(GET pair 0 from)
  list(GET pair 1 to)
  if(NOT EXISTS ${from})
    message(FATAL_ERROR "${from} is missing: the Windows package ships it (scripts/package-windows installs it)")
  endif()
  install(FILES ${from} DESTINATION share/doc/tavlin/licenses RENAME ${to})
endforeach()

# The zip and the installer. scripts/package-windows names the files.
set(CPACK_PACKAGE_NAME tavlin)
set(CPACK_PACKAGE_VENDOR "The tavlin developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "register reference and bit-field calculator")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_HOMEPAGE_URL https://github.com/tavlin/tavlin)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_INSTALL_DIRECTORY tavlin)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY tavlin)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR ZIP NSIS)
# The installer: our own script (res/windows/NSIS.template.in) over CPack's
# files, per user or per machine, with its Start-menu entry, its uninstaller in
# Apps & features and "Open with" for .svd files. CPack hands every CPACK_
# variable to the script; those below are the ones it reads.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/windows)
set(CPACK_NSIS_DISPLAY_NAME tavlin)
set(CPACK_NSIS_PACKAGE_NAME "tavlin ${PROJECT_VERSION}")
set(CPACK_NSIS_MUI_ICON ${CMAKE_CURRENT_LIST_DIR}/tavlin.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_CURRENT_LIST_DIR}/tavlin.ico)
set(CPACK_NSIS_URL_INFO_ABOUT ${CPACK_PACKAGE_HOMEPAGE_URL})
# The setup program's version block takes four numbers.
set(quad ${PROJECT_VERSION_MAJOR})
foreach(part MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    string(APPEND quad .0)
  else()
    string(APPEND quad .${PROJECT_VERSION_${part}})
  endif()
endforeach()
set(CPACK_TAVLIN_VERSION_QUAD ${quad})
include(CPack)
