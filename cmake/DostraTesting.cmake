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

# Tests of the Windows build run under Wine, in prefixes of their own under the build
# directory (never the user's ~/.wine): made once by a fixture, the unit tests' one
# ended after the run. cmake/wine/wine_tests.sh says when they are skipped.
if(CMAKE_CROSSCOMPILING AND CMAKE_CROSSCOMPILING_EMULATOR)
  set(DOSTRA_WINE_PREFIX_TEMPLATE ${CMAKE_BINARY_DIR}/wineprefix-template)
  set(DOSTRA_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(DOSTRA_WINE_TESTS_SCRIPT ${PROJECT_SOURCE_DIR}/cmake/wine/wine_tests.sh)
  add_test(NAME wine_prefix_create COMMAND bash ${DOSTRA_WINE_TESTS_SCRIPT} create
    ${DOSTRA_WINEARCH} ${DOSTRA_WINE} ${DOSTRA_WINE_PREFIX_TEMPLATE} ${DOSTRA_WINE_PREFIX})
  add_test(NAME wine_prefix_stop COMMAND bash ${DOSTRA_WINE_TESTS_SCRIPT} stop
    ${DOSTRA_WINE} ${DOSTRA_WINE_PREFIX})
  set_tests_properties(wine_prefix_create PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 5400)
  set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine_prefix)
endif()

# A test that runs Windows programs under Wine. Where 32-bit x86 code is emulated,
# every program start takes about a minute: raise the time limit there.
set(DOSTRA_WINE_TEST_TIMEOUT 600 CACHE STRING "Time limit in seconds of each test under Wine")
function(dostra_wine_test_properties name)
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine_prefix
    SKIP_RETURN_CODE 77
    TIMEOUT ${DOSTRA_WINE_TEST_TIMEOUT}
    ENVIRONMENT "WINEPREFIX=${DOSTRA_WINE_PREFIX};WINEARCH=${DOSTRA_WINEARCH};WINEDEBUG=-all;WINEDLLOVERRIDES=mscoree,mshtml=")
endfunction()

# A test program of the Linux build is run through a check that it ran to its end: a
# test that ends the process with exit code 0 would otherwise pass.
set(DOSTRA_RUN_TO_COMPLETION ${PROJECT_SOURCE_DIR}/cmake/run_to_completion.sh)
function(dostra_run_to_completion target)
  set_property(TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR bash ${DOSTRA_RUN_TO_COMPLETION})
endfunction()

# One test program per layer; every test of it becomes a CTest test. Under the cross
# build, discovery would run each program under Wine at build time, so the program is
# registered as one test instead.
function(dostra_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock dostra_build_settings)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  if(CMAKE_CROSSCOMPILING)
    if(CMAKE_CROSSCOMPILING_EMULATOR)
      add_test(NAME ${name} COMMAND bash ${DOSTRA_WINE_TESTS_SCRIPT} run ${DOSTRA_WINEARCH}
        ${DOSTRA_WINE} $<TARGET_FILE:${name}>)
      dostra_wine_test_properties(${name})
    else()
      add_test(NAME ${name} COMMAND ${name})
    endif()
  else()
    dostra_run_to_completion(${name})
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
