# Exporting a grid of a city's month (12,000 rows, 38 columns) in every format.
add_executable(bench_grid_export ${CMAKE_CURRENT_LIST_DIR}/grid_export.cpp)
target_link_libraries(bench_grid_export PRIVATE focaris_documents Qt6::Core)
