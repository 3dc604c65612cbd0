# The commission sheet: the window CommissionSheetWindow, the paying of a salesperson's deals,
# the hand-off file data.txt and the report CommissionSheetReport.
target_sources(tarvex_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/../store/commission_payments.h
    ${CMAKE_CURRENT_LIST_DIR}/../store/commission_payments.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commission_data_file.h
    ${CMAKE_CURRENT_LIST_DIR}/commission_data_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sheet_entry.h
    ${CMAKE_CURRENT_LIST_DIR}/sheet_entry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sheet_payment.h
    ${CMAKE_CURRENT_LIST_DIR}/sheet_payment.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sheet_volume.h
    ${CMAKE_CURRENT_LIST_DIR}/sheet_volume.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commission_sheet_layout.h
    ${CMAKE_CURRENT_LIST_DIR}/commission_sheet_layout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/commission_sheet_report.h
    ${CMAKE_CURRENT_LIST_DIR}/commission_sheet_report.cpp
)

target_sources(tarvex_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ui/commission_sheet_window.h
    ${CMAKE_CURRENT_LIST_DIR}/ui/commission_sheet_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/commission_sheet_window_print.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/commission_sheet_window_ledger.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/commission_sheet_opener.h
    ${CMAKE_CURRENT_LIST_DIR}/ui/commission_sheet_opener.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/commission_sheet_preview.h
    ${CMAKE_CURRENT_LIST_DIR}/ui/commission_sheet_preview.cpp
)

# Sheets as records: data.txt kept in step with the last recorded sheet.
target_sources(tarvex_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/sheet_data_file.h
    ${CMAKE_CURRENT_LIST_DIR}/sheet_data_file.cpp
)
target_sources(tarvex_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ui/sheet_history_window.h
    ${CMAKE_CURRENT_LIST_DIR}/ui/sheet_history_window.cpp
)
