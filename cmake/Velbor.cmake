# Functions shared by the libraries: tests run through one launcher (under Wine in the winelib
# build), after a fixture that prepares the Wine prefix once.

set(VELBOR_SCRIPTS ${CMAKE_SOURCE_DIR}/scripts)
set(VELBOR_WINE_TEST_PREFIX ${CMAKE_BINARY_DIR}/wine/test)

# Prepares the test prefix before any test and stops its wine server after the last.
function(velbor_test_fixture)
  if(NOT VELBOR_WINELIB)
    return()
  endif()
  add_test(NAME wine_prefix_prepare COMMAND ${VELBOR_SCRIPTS}/wine-env.sh prepare-tests ${VELBOR_WINE_TEST_PREFIX})
  set_tests_properties(wine_prefix_prepare PROPERTIES FIXTURES_SETUP wine_prefix)
  add_test(NAME wine_prefix_stop COMMAND ${VELBOR_SCRIPTS}/wine-env.sh stop ${VELBOR_WINE_TEST_PREFIX})
  set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine_prefix)
endfunction()

# velbor_test(NAME name SOURCES ... [LIBS ...] [LOCKS desktop clipboard registry settings printer])
# One test program and one ctest entry. LOCKS names the shared resources the program uses, so
# that programs using the same one run one at a time.
function(velbor_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LOCKS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gtest gtest_main pthread)
  if(VELBOR_WINELIB)
    # googletest must see a Unix platform; struct layouts are unchanged.
    target_compile_options(${T_NAME} PRIVATE -U_WIN32)
    target_link_options(${T_NAME} PRIVATE -mconsole)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${VELBOR_SCRIPTS}/run-test.sh $<TARGET_FILE:${T_NAME}>)
  if(VELBOR_WINELIB)
    set_tests_properties(${T_NAME} PROPERTIES
      FIXTURES_REQUIRED wine_prefix
      ENVIRONMENT "WINEPREFIX=${VELBOR_WINE_TEST_PREFIX}")
  endif()
  if(T_LOCKS)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
endfunction()
