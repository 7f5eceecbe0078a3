# The backup server under load: 50 clients × 3 uploads of 5 MB on 127.0.0.1.
add_executable(bench_server_load ${CMAKE_CURRENT_LIST_DIR}/server_load.cpp)
target_link_libraries(bench_server_load PRIVATE focaris_server focaris_safety focaris_archive Qt6::Network)
add_dependencies(bench_server_load focaris-backup-server)
