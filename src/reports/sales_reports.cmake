# The report chooser, the sales log and the salesperson summary.
target_sources(tarvex_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/layout_controls.h ${CMAKE_CURRENT_LIST_DIR}/layout_controls.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sales_report_query.h ${CMAKE_CURRENT_LIST_DIR}/sales_report_query.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sales_report_unwinds.h ${CMAKE_CURRENT_LIST_DIR}/sales_report_unwinds.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sales_log_layout.h ${CMAKE_CURRENT_LIST_DIR}/sales_log_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sales_log_report.h ${CMAKE_CURRENT_LIST_DIR}/sales_log_report.cpp
    ${CMAKE_CURRENT_LIST_DIR}/salesperson_summary_layout.h
    ${CMAKE_CURRENT_LIST_DIR}/salesperson_summary_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/salesperson_summary_report.h ${CMAKE_CURRENT_LIST_DIR}/salesperson_summary_report.cpp
)

target_sources(tarvex_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ui/sales_report_printer.h
    ${CMAKE_CURRENT_LIST_DIR}/ui/sales_report_printer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/report_chooser_window.h
    ${CMAKE_CURRENT_LIST_DIR}/ui/report_chooser_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/report_chooser_command.h
    ${CMAKE_CURRENT_LIST_DIR}/ui/report_chooser_command.cpp
)
