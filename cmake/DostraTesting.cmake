# GoogleTest: Debian's packaged library on Linux; built from Debian's sources
# (/usr/src/googletest) when cross-compiling for Windows, where the tests run under Wine.
if(CMAKE_CROSSCOMPILING)
  set(DOSTRA_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources for the cross build")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${DOSTRA_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
    add_library(GTest::gmock ALIAS gmock)
  endif()
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# One test program per layer; every test of it becomes a CTest test. Under the cross
# build, discovery would run each program under Wine at build time, so the program is
# registered as one test instead.
function(dostra_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock dostra_build_settings)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
