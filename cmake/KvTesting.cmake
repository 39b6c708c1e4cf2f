# GoogleTest for both trees, and kv_add_test() for one test binary per suite.
# Included before the project's compile options so that the test framework's
# own sources are built with its own.
enable_testing()
include(GoogleTest)

set(KV_RUN_TESTS ON)
if(CMAKE_CROSSCOMPILING)
  # Windows tests run under Wine, each in a fresh copy of a template prefix
  # that is made once per build tree. The shipped tree is 32-bit, and its
  # tests run the 32-bit files themselves; OFF builds the tests without
  # registering them (a machine without Wine can still check the files).
  option(KV_WINE_TESTS "Register the Windows tests to run under Wine" ON)
  set(KV_RUN_TESTS ${KV_WINE_TESTS})
  # The whole-program tests of the shipped files (the GUI, every command, the
  # setup program) run in the 32-bit tree; ON registers them in a 64-bit tree
  # too, for a machine whose kernel runs no 32-bit programs
  # (scripts/test-all.sh decides).
  option(KV_WINE_FULL_E2E "Run the shipped files' whole-program Wine tests in a 64-bit tree too" OFF)
  if(KV_MINGW_ARCH STREQUAL "i686" OR KV_WINE_FULL_E2E)
    set(KV_SHIPPED_E2E ON)
  else()
    set(KV_SHIPPED_E2E OFF)
  endif()
  set(KV_WINE_STATE ${PROJECT_BINARY_DIR}/wine)
  set(KV_WINE_RUN ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KV_WINE_RUN} ${KV_WINE_STATE})
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(KV_GTEST_LIBS gmock gtest_main)
else()
  find_package(GTest REQUIRED)
  set(KV_GTEST_LIBS GTest::gmock GTest::gtest_main)
endif()

# kv_requires_wine(TEST...): tests that start Windows programs. They run only
# once the loader probe (tests/CMakeLists.txt) has shown that Wine starts this
# tree's programs; otherwise ctest reports them as not run, and fails.
function(kv_requires_wine)
  if(CMAKE_CROSSCOMPILING)
    set_tests_properties(${ARGN} PROPERTIES FIXTURES_REQUIRED wine_loader)
  endif()
endfunction()

# kv_discover_tests(TARGET [PROPERTY VALUE...]): registers a GoogleTest
# binary's tests with the given properties. On the host each case is a test
# of its own, named BINARY.Suite.Case, listed when ctest first reads the
# tests. Under Wine every start costs a fresh prefix and a wineserver of its
# own (a case alone takes seconds), so there the binary is one test, named
# after it, and a run that prints nothing fails, whatever its status.
function(kv_discover_tests target)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES ENVIRONMENT KV_WINE_REQUIRE_OUTPUT=1 ${ARGN})
    kv_requires_wine(${target})
    return()
  endif()
  # One binary's cases never overlap, as when the binary ran them in turn:
  # they share what is one per machine (the register library's named mutex
  # in TMPDIR, a rig's files), and a case waiting on another fails at 500 ms.
  # Parameterised cases keep the names their suites give them.
  gtest_discover_tests(${target} TEST_PREFIX ${target}. DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 600
    NO_PRETTY_VALUES NO_PRETTY_TYPES PROPERTIES RESOURCE_LOCK ${target} ${ARGN})
endfunction()

# kv_add_test(name SOURCES ... LIBS ... [PROPERTIES ...]): one test binary,
# its cases registered by kv_discover_tests.
function(kv_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${KV_GTEST_LIBS})
  if(KV_RUN_TESTS)
    kv_discover_tests(${name} ${T_PROPERTIES})
  endif()
endfunction()
