# The county agency's report and the supplier reports on a city-sized working period.
add_executable(bench_reports ${CMAKE_CURRENT_LIST_DIR}/ReportsBench.cpp)
target_link_libraries(bench_reports PRIVATE focaris_reports focaris_localsql)
