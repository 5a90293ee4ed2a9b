# SPDX-License-Identifier: GPL-2.0-or-later
# Helpers that register one test executable each with CTest.
find_package(GTest REQUIRED)
include(GoogleTest)

set(KPX_TEST_DATA_DIR ${PROJECT_SOURCE_DIR}/tests/data)

# kpx_add_gtest(<name> SOURCES <files...> LIBS <targets...>)
function(kpx_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE KPX_TEST_DATA_DIR="${KPX_TEST_DATA_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

# kpx_add_qttest(<name> SOURCES <files...> LIBS <targets...>): one executable per window class,
# run headless.
function(kpx_add_qttest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  find_package(Qt6 REQUIRED COMPONENTS Test)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
  target_compile_definitions(${name} PRIVATE KPX_TEST_DATA_DIR="${KPX_TEST_DATA_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8"
    TIMEOUT 300)
endfunction()
