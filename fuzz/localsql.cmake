# Random statements and random table bytes through the statement engine.
focaris_fuzz_target(localsql ${CMAKE_CURRENT_LIST_DIR}/localsql.cpp focaris_localsql)
