# The workbook reader: compound file, records, string table, cell table, row copies.
focaris_fuzz_target(xls ${CMAKE_CURRENT_LIST_DIR}/xls.cpp focaris_xls)
