# The program's start-up on a city-sized data folder.
add_executable(bench_startup ${CMAKE_CURRENT_LIST_DIR}/StartupBench.cpp)
target_link_libraries(bench_startup PRIVATE focaris_shell focaris_localsql)
