# torvanel_forge_step(EXE COMMENT text OUTPUTS file... [ENV VAR=value...])
#
# Runs a forge that writes part of Resources/ as part of every build. It runs
# again when the forge changes or when one of the listed outputs is gone.
function(torvanel_forge_step exe)
  cmake_parse_arguments(STEP "" "COMMENT" "OUTPUTS;ENV" ${ARGN})
  set(stamp "${CMAKE_CURRENT_BINARY_DIR}/${exe}.stamp")
  add_custom_command(OUTPUT "${stamp}" ${STEP_OUTPUTS}
    COMMAND ${CMAKE_COMMAND} -E env ${STEP_ENV} $<TARGET_FILE:${exe}> --out "${CMAKE_SOURCE_DIR}/Resources"
    COMMAND ${CMAKE_COMMAND} -E touch "${stamp}"
    DEPENDS ${exe}
    COMMENT "${STEP_COMMENT}"
    VERBATIM)
  add_custom_target(${exe}-run ALL DEPENDS "${stamp}")
endfunction()

# torvanel_forge_tests(NAME LIBS lib...)
#
# The tests of tools/NAME (its tests/*.cpp) as tests_NAME, run after the
# forge has written Resources/. They find the forge as NAME_EXE (upper case)
# and a folder of their own for extra runs as NAME_SCRATCH.
function(torvanel_forge_tests name)
  cmake_parse_arguments(FT "" "" "LIBS" ${ARGN})
  string(TOUPPER "${name}" prefix)
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cpp")
  add_executable(tests_${name} ${sources})
  target_link_libraries(tests_${name} PRIVATE ${FT_LIBS} GTest::gtest_main)
  target_include_directories(tests_${name} PRIVATE "${CMAKE_SOURCE_DIR}")
  target_compile_definitions(tests_${name} PRIVATE
    TORVANEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    ${prefix}_EXE="$<TARGET_FILE:torvanel-${name}>"
    ${prefix}_SCRATCH="${CMAKE_CURRENT_BINARY_DIR}/test-run")
  add_dependencies(tests_${name} torvanel-${name}-run)
  gtest_discover_tests(tests_${name} DISCOVERY_MODE PRE_TEST WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}")
endfunction()
