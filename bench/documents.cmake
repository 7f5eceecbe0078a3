# The documents of the month on a city-sized data folder: separate dispositions, reports,
# a single disposition with 10,000 annex rows and the payment statement, each beside the
# engine's read of the same rows and the plain write of the same bytes.
add_executable(bench_documents ${CMAKE_CURRENT_LIST_DIR}/DocumentsBench.cpp)
target_link_libraries(bench_documents PRIVATE focaris_documents focaris_localsql)
