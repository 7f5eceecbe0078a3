# The applications list and its month operations on a city-sized data folder.
add_executable(bench_applist ${CMAKE_CURRENT_LIST_DIR}/ApplicationsBench.cpp)
target_link_libraries(bench_applist PRIVATE focaris_gui_applications focaris_applications focaris_admin
                      focaris_localsql)
