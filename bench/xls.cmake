# Filling the payment-statement template with 10,000 records on each of its three sheets.
add_executable(bench_xls_fill ${CMAKE_CURRENT_LIST_DIR}/xls_fill.cpp)
target_link_libraries(bench_xls_fill PRIVATE focaris_xls)
target_compile_definitions(bench_xls_fill PRIVATE
  FOCARIS_XLS_TEMPLATE="${PROJECT_SOURCE_DIR}/tests/data/good/xls/stat.xls")
