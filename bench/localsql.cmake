# The statement engine on a city-sized data folder, against in-memory SQLite and GDAL's
# OGR SQL over the same files.
add_executable(bench_localsql ${CMAKE_CURRENT_LIST_DIR}/LocalSqlBench.cpp)
target_link_libraries(bench_localsql PRIVATE focaris_localsql SQLite::SQLite3)
