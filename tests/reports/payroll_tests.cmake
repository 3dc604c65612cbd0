tarvex_add_test(tarvex_tests_payroll
    ${CMAKE_CURRENT_LIST_DIR}/../store/store_test_support.h
    ${CMAKE_CURRENT_LIST_DIR}/../store/store_test_support.cpp
    ${CMAKE_CURRENT_LIST_DIR}/payroll_layouts_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/payroll_export_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/payroll_export_window_test.cpp
    UI
)
target_include_directories(tarvex_tests_payroll PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../store)
