# The native configuration also builds the parts of report/ and exchange/ that need only core and
# db (the report expression parser and script interpreter, the exchange-file operations), with
# their tests, so that the sanitizers and the fuzz targets reach them. The winelib build makes
# them in their own folders' libraries.

add_library(report_script STATIC
  ${CMAKE_SOURCE_DIR}/report/ZR_Pars.cpp
  ${CMAKE_SOURCE_DIR}/report/ZR_Intrp.cpp
  ${CMAKE_SOURCE_DIR}/report/ZR_ClassScript.cpp)
target_include_directories(report_script PUBLIC ${CMAKE_SOURCE_DIR}/report)
target_link_libraries(report_script PUBLIC core)
velbor_test(NAME report_script_tests
            SOURCES ${CMAKE_SOURCE_DIR}/report/tests/ZR_Pars_test.cpp
                    ${CMAKE_SOURCE_DIR}/report/tests/ZR_Intrp_test.cpp
                    ${CMAKE_SOURCE_DIR}/report/tests/ZR_ClassScript_test.cpp
            LIBS report_script)

# The operations, without the windows (p*: pfrm*, pExport*) that run them.
file(GLOB exchange_operation_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/exchange/*.cpp)
list(FILTER exchange_operation_sources EXCLUDE REGEX "/p[^/]*\\.cpp$")
add_library(exchange_operations STATIC ${exchange_operation_sources})
target_include_directories(exchange_operations PUBLIC ${CMAKE_SOURCE_DIR}/exchange)
target_link_libraries(exchange_operations PUBLIC db core)
velbor_test(NAME exchange_tests
            SOURCES ${CMAKE_SOURCE_DIR}/exchange/tests/ExchangeFile_test.cpp
                    ${CMAKE_SOURCE_DIR}/exchange/tests/DictionaryExchange_test.cpp
                    ${CMAKE_SOURCE_DIR}/exchange/tests/InventoryExchange_test.cpp
            LIBS exchange_operations)
target_include_directories(exchange_tests PRIVATE ${CMAKE_SOURCE_DIR}/base/tests)
target_compile_definitions(exchange_tests PRIVATE VELBOR_BASE_SOURCE_DIR="${CMAKE_SOURCE_DIR}/base"
                                                  VELBOR_STARTING_DATABASE="")
