# Install step of the portable tarball (TORVANEL_BUNDLE_LIBRARIES set): every
# library the programs link that a normal Linux desktop may lack is copied
# into lib/ beside bin/ and games/, found through an rpath of $ORIGIN; the start script
# goes to the top. Left to the system: the C library and the dynamic loader,
# GL and EGL, X11 and ALSA, which must match the machine's own.
if(NOT DEFINED ENV{TORVANEL_BUNDLE_LIBRARIES})
  return()
endif()

set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(system_libraries
  "^ld-linux" "^libc\\.so" "^libm\\.so" "^libdl\\.so" "^libpthread\\.so" "^librt\\.so" "^libresolv\\.so"
  "^libutil\\.so" "^libGL" "^libOpenGL\\.so" "^libEGL" "^libX" "^libxcb" "^libasound\\.so")

set(programs)
foreach(program ${TORVANEL_PROGRAMS})
  list(APPEND programs "${root}/${program}")
endforeach()
file(GET_RUNTIME_DEPENDENCIES
  EXECUTABLES ${programs}
  RESOLVED_DEPENDENCIES_VAR libraries
  UNRESOLVED_DEPENDENCIES_VAR unresolved
  PRE_EXCLUDE_REGEXES ${system_libraries}
  POST_EXCLUDE_REGEXES ${system_libraries})
if(unresolved)
  message(FATAL_ERROR "libraries not found for the bundle: ${unresolved}")
endif()

file(MAKE_DIRECTORY "${root}/lib")
find_program(PATCHELF patchelf REQUIRED)
foreach(library ${libraries})
  get_filename_component(name "${library}" NAME)
  execute_process(COMMAND cp -L "${library}" "${root}/lib/${name}" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND chmod 644 "${root}/lib/${name}" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${PATCHELF} --set-rpath "$ORIGIN" "${root}/lib/${name}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
foreach(program ${programs})
  execute_process(COMMAND ${PATCHELF} --set-rpath "$ORIGIN/../lib" "${program}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
list(LENGTH libraries count)
message(STATUS "Bundled ${count} libraries into ${root}/lib")

file(INSTALL "${TORVANEL_START_SCRIPT}" DESTINATION "${root}" RENAME torvanel
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
