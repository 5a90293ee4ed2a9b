# SPDX-License-Identifier: GPL-2.0-or-later
# cmake -DSOURCE_DIR=<repository> -P CheckPrivateHeaders.cmake
# A header named *_p.h belongs to its directory's library: only that directory and its tests
# (tests/<directory>) may include it. Fails listing every other file that does.
# Current policies: without them the search below follows symbolic links, and the Wine prefixes
# of the Windows tests under build/ link drive Z: to the file system's root.
cmake_minimum_required(VERSION 3.22)
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(offences "")
foreach(source IN LISTS sources)
  if(source MATCHES "^build")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^#include \"[^\"]+_p\\.h\"")
  get_filename_component(own_dir ${source} DIRECTORY)
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header ${line})
    get_filename_component(header_dir ${header} DIRECTORY)
    if(NOT own_dir STREQUAL header_dir AND NOT own_dir STREQUAL "tests/${header_dir}")
      string(APPEND offences "  ${source} includes ${header}\n")
    endif()
  endforeach()
endforeach()
if(offences)
  message(FATAL_ERROR "Private headers used outside their library:\n${offences}")
endif()
