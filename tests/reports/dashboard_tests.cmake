# The dashboard: its figures on both engines and on the older installation's
# Access database imported, and its window.
tarvex_add_test(tarvex_tests_dashboard
    ${CMAKE_CURRENT_LIST_DIR}/dashboard_test_support.h
    ${CMAKE_CURRENT_LIST_DIR}/dashboard_test_support.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dashboard_figures_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dashboard_fixture_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/dashboard_window_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../store/store_test_support.h
    ${CMAKE_CURRENT_LIST_DIR}/../store/store_test_support.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../legacy/legacy_test_support.h
    ${CMAKE_CURRENT_LIST_DIR}/../legacy/legacy_test_support.cpp
    UI
)
target_include_directories(tarvex_tests_dashboard PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/../store ${CMAKE_CURRENT_LIST_DIR}/../legacy)
target_compile_definitions(tarvex_tests_dashboard PRIVATE
    TARVEX_LEGACY_DATA="${CMAKE_CURRENT_LIST_DIR}/../legacy/data")
