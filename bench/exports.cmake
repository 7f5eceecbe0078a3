# The exports for the national agency, the tax agency and the treasury and the office's
# lists on a city-sized data folder, each beside the engine's read of the same rows.
add_executable(bench_exports ${CMAKE_CURRENT_LIST_DIR}/ExportsBench.cpp)
target_link_libraries(bench_exports PRIVATE focaris_reports focaris_localsql Qt6::Core)
