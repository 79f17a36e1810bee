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
