# dBase engine: decoding a city-sized applications table against reading its bytes, and
# appending to it against appending to an empty table.
add_executable(bench_dbase ${CMAKE_CURRENT_LIST_DIR}/dbase_bench.cpp)
target_include_directories(bench_dbase PRIVATE ${PROJECT_SOURCE_DIR}/tests/dbase)
target_link_libraries(bench_dbase PRIVATE focaris_dbase)
