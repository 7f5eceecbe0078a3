# Packing and unpacking a city-sized data folder against gzip -9 / gunzip on the same bytes.
add_executable(bench_archive ${CMAKE_CURRENT_LIST_DIR}/archive.cpp)
target_link_libraries(bench_archive PRIVATE focaris_archive)
