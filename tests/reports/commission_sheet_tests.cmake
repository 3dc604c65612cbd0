tarvex_add_test(tarvex_tests_commission_sheet
    ${CMAKE_CURRENT_LIST_DIR}/report_test_support.h
    ${CMAKE_CURRENT_LIST_DIR}/report_test_support.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commission_sheet_fixture.h
    ${CMAKE_CURRENT_LIST_DIR}/commission_sheet_fixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commission_data_file_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commission_sheet_report_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sheet_payment_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sheet_records_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sheet_kill_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sheet_two_desks_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sheet_race_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sheet_payment_engines_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sheet_void_race_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sheet_ledger_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sheet_volume_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/plan_trial_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../store/store_test_support.h
    ${CMAKE_CURRENT_LIST_DIR}/../store/store_test_support.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commission_sheet_window_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commission_sheet_ledger_window_test.cpp
    UI
)
# The race of two desks runs on both engines with the store's fixture.
target_include_directories(tarvex_tests_commission_sheet PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../store)
# The payment tests reach the deal database's SQLite connection to fail a
# step at its commit.
find_package(SQLite3 REQUIRED)
target_link_libraries(tarvex_tests_commission_sheet PRIVATE SQLite::SQLite3)
