# A stand-in for a system DLL, copied beside the installer under each name
# that test_planted_dlls measures. Built into <tree>/planted for the tree's bitness.
add_library(planted SHARED ${CMAKE_SOURCE_DIR}/tests/e2e/planted.c)
set_target_properties(planted PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted)
target_link_options(planted PRIVATE -static)
