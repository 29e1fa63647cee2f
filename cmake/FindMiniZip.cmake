# SPDX-License-Identifier: MIT
# minizip, the zip reader of zlib's contrib folder, as MiniZip::minizip (with
# ZLIB::ZLIB). On Debian it is libminizip-dev; the Windows build compiles it from
# Debian's zlib source (scripts/package-windows) and names both files:
#   MINIZIP_INCLUDE_DIR   the folder holding minizip/unzip.h
#   MINIZIP_LIBRARY       the library
find_package(ZLIB REQUIRED)
find_path(MINIZIP_INCLUDE_DIR minizip/unzip.h)
find_library(MINIZIP_LIBRARY NAMES minizip)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(MiniZip REQUIRED_VARS MINIZIP_LIBRARY MINIZIP_INCLUDE_DIR)
if(MiniZip_FOUND AND NOT TARGET MiniZip::minizip)
  add_library(MiniZip::minizip UNKNOWN IMPORTED)
  set_target_properties(MiniZip::minizip PROPERTIES
    IMPORTED_LOCATION ${MINIZIP_LIBRARY}
    INTERFACE_INCLUDE_DIRECTORIES ${MINIZIP_INCLUDE_DIR}
    INTERFACE_LINK_LIBRARIES ZLIB::ZLIB)
endif()
mark_as_advanced(MINIZIP_INCLUDE_DIR MINIZIP_LIBRARY)
