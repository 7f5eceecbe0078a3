# The application editor on a city-sized data folder: opening, the look-up of a typed
# CNP, the tariff look-up, one member check and the whole save of a new application.
add_executable(bench_editor ${CMAKE_CURRENT_LIST_DIR}/EditorBench.cpp)
target_link_libraries(bench_editor PRIVATE focaris_applications focaris_localsql)
