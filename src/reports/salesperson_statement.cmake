# The salesperson's statement: what it is made from, its lines, its layout.
target_sources(tarvex_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/statement_period.h ${CMAKE_CURRENT_LIST_DIR}/statement_period.cpp
    ${CMAKE_CURRENT_LIST_DIR}/salesperson_statement.h
    ${CMAKE_CURRENT_LIST_DIR}/salesperson_statement.cpp
    ${CMAKE_CURRENT_LIST_DIR}/salesperson_statement_query.h
    ${CMAKE_CURRENT_LIST_DIR}/salesperson_statement_query.cpp
    ${CMAKE_CURRENT_LIST_DIR}/salesperson_statement_layout.h
    ${CMAKE_CURRENT_LIST_DIR}/salesperson_statement_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/salesperson_statement_report.h
    ${CMAKE_CURRENT_LIST_DIR}/salesperson_statement_report.cpp
)

target_sources(tarvex_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ui/report_chooser_statement.cpp
)
