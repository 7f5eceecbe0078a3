# The imports from the two registers: 10,000 files with 30,000 members each, into a
# city-sized data folder.
add_executable(bench_imports ${CMAKE_CURRENT_LIST_DIR}/ImportBench.cpp)
target_link_libraries(bench_imports PRIVATE focaris_periods focaris_localsql)
