focaris_fuzz_target(settings ${CMAKE_CURRENT_LIST_DIR}/settings.cpp focaris_settings)
