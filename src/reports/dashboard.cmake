# The dashboard: its figures (no widgets) and its window, drawn with Qt Charts.
target_sources(tarvex_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/dashboard_figures.h ${CMAKE_CURRENT_LIST_DIR}/dashboard_figures.cpp
)
target_sources(tarvex_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ui/dashboard_charts.h ${CMAKE_CURRENT_LIST_DIR}/ui/dashboard_charts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ui/dashboard_window.h ${CMAKE_CURRENT_LIST_DIR}/ui/dashboard_window.cpp
)
target_link_libraries(tarvex_ui PUBLIC Qt6::Charts)
