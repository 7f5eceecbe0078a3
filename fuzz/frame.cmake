focaris_fuzz_target(frame ${CMAKE_CURRENT_LIST_DIR}/frame.cpp focaris_transport)
