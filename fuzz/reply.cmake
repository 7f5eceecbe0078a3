focaris_fuzz_target(reply ${CMAKE_CURRENT_LIST_DIR}/reply.cpp focaris_safety)
