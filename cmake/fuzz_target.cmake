# Fuzz targets and the replay of what they found.
#
#   torvanel_fuzz_target(NAME SOURCE file.cpp LIBRARIES lib... CORPORA folder...)
#
# The source defines LLVMFuzzerTestOneInput. With TORVANEL_FUZZ (clang only,
# see tools/fuzz.sh) it becomes the libFuzzer executable fuzz/NAME, its
# libraries instrumented for coverage. With the tests it is also compiled into
# tests_NAME_replay, a test that runs every file of the corpora through it, so the
# kept corpus and the crashers stay clean in the ordinary sanitizer build.
include_guard(GLOBAL)

option(TORVANEL_FUZZ "Build the libFuzzer targets (clang only; see tools/fuzz.sh)" OFF)
if(TORVANEL_FUZZ AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "TORVANEL_FUZZ needs clang: -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++")
endif()

function(torvanel_fuzz_target name)
  cmake_parse_arguments(FUZZ "" "SOURCE" "LIBRARIES;CORPORA" ${ARGN})
  if(TORVANEL_FUZZ)
    add_executable(${name} ${FUZZ_SOURCE})
    target_link_libraries(${name} PRIVATE ${FUZZ_LIBRARIES})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    foreach(lib ${FUZZ_LIBRARIES})
      target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link)
    endforeach()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/fuzz")
  elseif(TORVANEL_TESTS)
    # Not beside the fuzz build: its instrumented libraries need libFuzzer's hooks.
    string(JOIN "|" folders ${FUZZ_CORPORA})
    add_executable(tests_${name}_replay ${FUZZ_SOURCE} "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/fuzz_replay.cpp")
    target_link_libraries(tests_${name}_replay PRIVATE ${FUZZ_LIBRARIES} GTest::gtest_main)
    target_compile_definitions(tests_${name}_replay PRIVATE FUZZ_REPLAY_FOLDERS="${folders}")
    gtest_discover_tests(tests_${name}_replay TEST_PREFIX "${name}." DISCOVERY_MODE PRE_TEST)
  endif()
endfunction()
