# Functions shared by the libraries: tests run through one launcher (under Wine in the winelib
# build), after a fixture that prepares the Wine prefixes once.

set(VELBOR_SCRIPTS ${CMAKE_SOURCE_DIR}/scripts)
# The prefix the test programs without windows share, the template the GUI test programs' own
# prefixes are copied from, and the folder of those (one per program, made afresh at each run).
set(VELBOR_WINE_TEST_PREFIX ${CMAKE_BINARY_DIR}/wine/test)
set(VELBOR_WINE_TEMPLATE ${CMAKE_BINARY_DIR}/wine/template)
set(VELBOR_WINE_GUI_PREFIXES ${CMAKE_BINARY_DIR}/wine/gui)

# Prepares the template and the shared prefix before any test; after the last, stops the shared
# prefix's wine server and whatever an interrupted GUI test program left (servers, displays).
function(velbor_test_fixture)
  if(NOT VELBOR_WINELIB)
    return()
  endif()
  add_test(NAME wine_prefix_prepare
           COMMAND ${VELBOR_SCRIPTS}/wine-env.sh prepare-tests ${VELBOR_WINE_TEST_PREFIX} ${VELBOR_WINE_TEMPLATE})
  set_tests_properties(wine_prefix_prepare PROPERTIES FIXTURES_SETUP wine_prefix)
  add_test(NAME wine_prefix_stop
           COMMAND ${VELBOR_SCRIPTS}/wine-env.sh stop ${VELBOR_WINE_TEST_PREFIX} ${VELBOR_WINE_GUI_PREFIXES})
  set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine_prefix)
endfunction()

# velbor_test(NAME name SOURCES ... [LIBS ...] [LOCKS desktop clipboard registry settings printer])
# One test program and one ctest entry. LOCKS names the resources the program uses. A program
# with the desktop is a GUI test program: it runs in a Wine prefix and on a display of its own
# (scripts/run-gui-test.sh), so the desktop, the clipboard, the registry and the settings file
# (in the prefix) are its own, and it runs beside the others (label "gui"). What stays shared
# across prefixes (the printer of the local spooler) is a lock: programs using it run one at a
# time.
function(velbor_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LOCKS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} gtest gtest_main pthread)
  if(VELBOR_WINELIB)
    # googletest must see a Unix platform; struct layouts are unchanged.
    target_compile_options(${T_NAME} PRIVATE -U_WIN32)
    target_link_options(${T_NAME} PRIVATE -mconsole)
  endif()
  set(locks ${T_LOCKS})
  if(VELBOR_WINELIB AND "desktop" IN_LIST T_LOCKS)
    add_test(NAME ${T_NAME}
             COMMAND ${VELBOR_SCRIPTS}/run-gui-test.sh ${VELBOR_WINE_TEMPLATE} ${VELBOR_WINE_GUI_PREFIXES}/${T_NAME}
                     $<TARGET_FILE:${T_NAME}>)
    # The longest programs: started first when ctest has no timings of its own yet.
    set_tests_properties(${T_NAME} PROPERTIES LABELS gui COST 100)
    list(REMOVE_ITEM locks desktop clipboard registry settings)
  else()
    add_test(NAME ${T_NAME} COMMAND ${VELBOR_SCRIPTS}/run-test.sh $<TARGET_FILE:${T_NAME}>)
  endif()
  if(VELBOR_WINELIB)
    set_tests_properties(${T_NAME} PROPERTIES
      FIXTURES_REQUIRED wine_prefix
      ENVIRONMENT "WINEPREFIX=${VELBOR_WINE_TEST_PREFIX}")
  endif()
  if(locks)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK "${locks}")
  endif()
endfunction()

# Resources. A static library cannot carry resources: each library lists its resource scripts with
# velbor_library_resources(LIB script.rc ...), and every program that links it compiles them all into
# one resource file with velbor_resources(PROGRAM [SCRIPTS own.rc ...]), called once the program's
# libraries are linked. The scripts are collected when the whole project has been read, so a
# library may be given scripts from another folder (exchange/ gives velbor_app its windows). A
# script names its files (form descriptions, pictures) relative to its own folder.
function(velbor_library_resources LIB)
  foreach(script ${ARGN})
    get_filename_component(path ${script} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    set_property(TARGET ${LIB} APPEND PROPERTY VELBOR_RC_SCRIPTS ${path})
  endforeach()
endfunction()

# The resource scripts of TARGET's libraries, following the libraries they link in turn.
function(_velbor_collect_scripts TARGET OUT)
  set(seen ${${OUT}_SEEN})
  set(scripts ${${OUT}})
  get_target_property(libs ${TARGET} LINK_LIBRARIES)
  if(NOT libs)
    set(libs)
  endif()
  foreach(lib ${libs})
    if(TARGET ${lib} AND NOT lib IN_LIST seen)
      list(APPEND seen ${lib})
      get_target_property(type ${lib} TYPE)
      if(NOT type STREQUAL "INTERFACE_LIBRARY")
        get_target_property(own ${lib} VELBOR_RC_SCRIPTS)
        if(own)
          list(APPEND scripts ${own})
        endif()
      endif()
      set(${OUT} ${scripts})
      set(${OUT}_SEEN ${seen})
      _velbor_collect_scripts(${lib} ${OUT})
      set(scripts ${${OUT}})
      set(seen ${${OUT}_SEEN})
    endif()
  endforeach()
  set(${OUT} ${scripts} PARENT_SCOPE)
  set(${OUT}_SEEN ${seen} PARENT_SCOPE)
endfunction()

function(velbor_resources TARGET)
  if(NOT VELBOR_WINELIB)
    return()
  endif()
  cmake_parse_arguments(R "" "" "SCRIPTS" ${ARGN})
  set(scripts)
  foreach(script ${R_SCRIPTS})
    get_filename_component(path ${script} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND scripts ${path})
  endforeach()
  # The arguments are expanded now; the call runs at the end of the top folder.
  cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY [[${CMAKE_SOURCE_DIR}]] CALL _velbor_make_resources
                            [[${TARGET}]] [[${CMAKE_CURRENT_BINARY_DIR}]] [[${scripts}]])")
endfunction()

# The resource file of TARGET in BINARY_DIR: its own SCRIPTS and those of its libraries.
function(_velbor_make_resources TARGET BINARY_DIR SCRIPTS)
  set(scripts ${SCRIPTS})
  set(collected)
  set(collected_SEEN)
  _velbor_collect_scripts(${TARGET} collected)
  list(APPEND scripts ${collected})
  list(REMOVE_DUPLICATES scripts)
  if(NOT scripts)
    return()
  endif()
  find_program(VELBOR_WRC NAMES wrc REQUIRED)
  set(rc ${BINARY_DIR}/${TARGET}_resources.rc)
  set(res ${BINARY_DIR}/${TARGET}_resources.res)
  set(content "// Generated: the resource scripts of ${TARGET} and of its libraries.\n")
  set(includes)
  set(depends)
  foreach(script ${scripts})
    # By name through the include path (the resource compiler does not open absolute includes):
    # script names are unique across the libraries.
    get_filename_component(name ${script} NAME)
    string(APPEND content "#include \"${name}\"\n")
    get_filename_component(dir ${script} DIRECTORY)
    list(APPEND includes -I ${dir})
    list(APPEND depends ${script})
    # The files a script names rebuild the resources when they change.
    file(STRINGS ${script} lines REGEX "\"[^\"]+\\.[A-Za-z0-9]+\"")
    foreach(line ${lines})
      if(line MATCHES "\"([^\"]+\\.[A-Za-z0-9]+)\"[ \t]*$")
        if(EXISTS ${dir}/${CMAKE_MATCH_1})
          list(APPEND depends ${dir}/${CMAKE_MATCH_1})
        endif()
      endif()
    endforeach()
  endforeach()
  file(GENERATE OUTPUT ${rc} CONTENT "${content}")
  add_custom_command(OUTPUT ${res}
    COMMAND ${VELBOR_WRC} -I ${BINARY_DIR} ${includes} -o ${res} ${rc}
    DEPENDS ${depends} ${rc}
    COMMENT "Compiling the resources of ${TARGET}")
  add_custom_target(${TARGET}_resources DEPENDS ${res})
  add_dependencies(${TARGET} ${TARGET}_resources)
  target_link_options(${TARGET} PRIVATE ${res})
  set_property(TARGET ${TARGET} APPEND PROPERTY LINK_DEPENDS ${res})
endfunction()
