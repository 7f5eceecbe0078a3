# The RTF template engine over random templates, values and markers.
focaris_fuzz_target(rtf ${CMAKE_CURRENT_LIST_DIR}/rtf.cpp focaris_rtf)
