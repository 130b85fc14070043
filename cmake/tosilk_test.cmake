# tosilk_add_test(NAME SOURCES... LIBS ...): a GoogleTest program in
# build/<preset>/tests, beside which the stand-in tools lie in ../standin.
# Cross-compiled tests run through CMAKE_CROSSCOMPILING_EMULATOR (Wine).
function(tosilk_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tosilk_testing GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(${name} standin_ffmpeg standin_silk_v3_encoder standin_silk_v3_decoder)
  add_test(NAME ${name} COMMAND ${name})
endfunction()
