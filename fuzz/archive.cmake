focaris_fuzz_target(archive ${CMAKE_CURRENT_LIST_DIR}/archive.cpp focaris_archive)
