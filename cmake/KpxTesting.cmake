# SPDX-License-Identifier: GPL-2.0-or-later
# Helpers that register one test executable each with CTest.
# A cross build cannot link the system's GoogleTest, which is built for the host: it builds
# GoogleTest from the sources in KPX_GTEST_SOURCE_DIR (Debian: package googletest,
# /usr/src/googletest) with its own compiler instead.
set(KPX_GTEST_SOURCE_DIR "" CACHE PATH "GoogleTest sources to build with this build's compiler")
if(KPX_GTEST_SOURCE_DIR)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  # MSVC: the same C runtime DLL as the programs, not GoogleTest's default static one.
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${KPX_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# Cross builds list their tests when CTest runs, through CMAKE_CROSSCOMPILING_EMULATOR (Wine),
# rather than after every link of a test program.
if(CMAKE_CROSSCOMPILING AND NOT DEFINED CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE)
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
endif()

set(KPX_TEST_DATA_DIR ${PROJECT_SOURCE_DIR}/tests/data)

# kpx_add_gtest(<name> SOURCES <files...> LIBS <targets...>)
function(kpx_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
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
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE KPX_TEST_DATA_DIR="${KPX_TEST_DATA_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANG=C.UTF-8"
    TIMEOUT 300)
endfunction()
