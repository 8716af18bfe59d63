# Tests of the exchange files and windows, included from app/CMakeLists.txt (the sources are in velbor_app).
velbor_test(NAME exchange_tests
            SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/ExchangeFile_test.cpp ${CMAKE_CURRENT_LIST_DIR}/tests/DictionaryExchange_test.cpp
                    ${CMAKE_CURRENT_LIST_DIR}/tests/InventoryExchange_test.cpp
            LIBS velbor_app velbor_test_database)
set_target_properties(exchange_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/exchange_tests)
add_dependencies(exchange_tests velbor_starting_database)

# The benchmark of the inventory transfers, run by hand.
add_executable(exchange_bench ${CMAKE_CURRENT_LIST_DIR}/bench/InventoryExchange_bench.cpp)
target_link_libraries(exchange_bench PRIVATE velbor_app velbor_test_database)
target_link_options(exchange_bench PRIVATE -mconsole)
set_target_properties(exchange_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/exchange_bench)

# The exchange windows over the program's data module, which opens base\velbor.mdb beside the
# running program: a folder of their own, as for the program's tests.
velbor_test(NAME exchange_window_tests
            SOURCES ${CMAKE_CURRENT_LIST_DIR}/tests/pfrmEchangeKelvor_test.cpp
                    ${CMAKE_CURRENT_LIST_DIR}/tests/pfrmRequeteExport_test.cpp
                    ${CMAKE_CURRENT_LIST_DIR}/../app/tests/AppTestSupport.cpp
            LIBS velbor_app velbor_test_database ui_test_support LOCKS desktop settings)
set_target_properties(exchange_window_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                      ${CMAKE_CURRENT_BINARY_DIR}/exchange_window_tests)
target_include_directories(exchange_window_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../app/tests)
velbor_resources(exchange_window_tests)
