# The dBase reader: header parsing, record decoding, memo look-up and the CSV dump.
focaris_fuzz_target(dbase ${CMAKE_CURRENT_LIST_DIR}/dbase.cpp focaris_dbase)
