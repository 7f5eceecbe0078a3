# One month walked end to end on the city-sized data folder: the list, the editor, the
# saves, the numbering, the documents, the agencies' files, the supplier reports, the
# automatic save, the next month with the copy and the VMG import, each beside the
# engine's read of the rows it uses, with the peak memory of the run.
add_executable(bench_month ${CMAKE_CURRENT_LIST_DIR}/MonthBench.cpp)
target_link_libraries(bench_month PRIVATE focaris_gui_applications focaris_shell focaris_periods focaris_reports
                      focaris_documents focaris_applications focaris_safety focaris_localsql
                      SQLite::SQLite3)
