tarvex_add_test(tarvex_tests_sales_reports
    ${CMAKE_CURRENT_LIST_DIR}/report_test_support.h
    ${CMAKE_CURRENT_LIST_DIR}/report_test_support.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sales_reports_fixture.h
    ${CMAKE_CURRENT_LIST_DIR}/sales_reports_fixture.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sales_report_layouts_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sales_report_unwinds_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/printed_page_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/report_chooser_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/salesperson_statement_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../store/store_test_support.h
    ${CMAKE_CURRENT_LIST_DIR}/../store/store_test_support.cpp
    UI
)
# The unwinds' lines run on both engines with the store's fixture.
target_include_directories(tarvex_tests_sales_reports PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../store)
