# SPDX-License-Identifier: GPL-2.0-or-later
# cmake -DSOURCE_DIR=<repository> -P CheckPrivateHeaders.cmake
# A header named *_p.h belongs to its directory's library: only that directory and its tests
# (tests/<directory>) may include it. Fails listing every other file that does.
# The sources are the repository's own files: the build directories hold Wine prefixes of many
# thousand files, one of them a link to the file system's root.
cmake_minimum_required(VERSION 3.22)
execute_process(COMMAND git ls-files -- "*.h" "*.cpp"
  WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_VARIABLE listed RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "git ls-files failed in ${SOURCE_DIR}")
endif()
string(REGEX REPLACE "\n$" "" listed "${listed}")
string(REPLACE "\n" ";" sources "${listed}")
set(offences "")
foreach(source IN LISTS sources)
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
