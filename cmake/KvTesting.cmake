# GoogleTest for both trees, and kv_add_test() for one test binary per suite.
# Included before the project's warning flags so that the test framework's own
# sources are not held to them.
enable_testing()

set(KV_RUN_TESTS ON)
if(CMAKE_CROSSCOMPILING)
  # Windows tests run under Wine, each in a fresh copy of a template prefix
  # that is made once per build tree. Wine runs only 64-bit programs where the
  # kernel cannot start 32-bit user code, so the 32-bit tree builds its tests
  # without registering them unless asked to.
  if(KV_MINGW_ARCH STREQUAL "x86_64")
    set(kv_wine_tests_default ON)
  else()
    set(kv_wine_tests_default OFF)
  endif()
  option(KV_WINE_TESTS "Register the Windows tests to run under Wine" ${kv_wine_tests_default})
  set(KV_RUN_TESTS ${KV_WINE_TESTS})
  set(KV_WINE_STATE ${PROJECT_BINARY_DIR}/wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh ${KV_WINE_STATE})
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(KV_GTEST_LIBS gmock gtest_main)
else()
  find_package(GTest REQUIRED)
  set(KV_GTEST_LIBS GTest::gmock GTest::gtest_main)
endif()

# kv_add_test(name SOURCES ... LIBS ...): one test binary, one ctest entry.
function(kv_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${KV_GTEST_LIBS})
  if(KV_RUN_TESTS)
    add_test(NAME ${name} COMMAND ${name})
  endif()
endfunction()
