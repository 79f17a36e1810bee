# Scenes that reload while the show runs: the act files and their table
# built as a loadable module beside the program, and a program that exports
# its own symbols (all of the engine, linked whole) so that the module
# shares its generator, draw trace and drawers instead of carrying copies.
# Off in a release build; the test build turns it on.
option(TORVANEL_SCENE_RELOAD "Build the scenes as a module the running show reloads when it is rebuilt" OFF)
if(NOT TORVANEL_SCENE_RELOAD)
  return()
endif()

file(GLOB scene_sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/show/scenes/*.cpp")
add_library(torvanel_scenes MODULE ${scene_sources}
            "${CMAKE_SOURCE_DIR}/show/scene_table.cpp" "${CMAKE_SOURCE_DIR}/show/scene_module_entry.cpp")
# Only the entry points leave the module, so its groups and helpers bind to
# each other and never to the program's linked copies of them.
set_target_properties(torvanel_scenes PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}"
                      CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
# The engine's headers, none of its libraries.
target_include_directories(torvanel_scenes PRIVATE
                           "$<TARGET_PROPERTY:torvanel_show,INTERFACE_INCLUDE_DIRECTORIES>")
target_compile_definitions(torvanel_scenes PRIVATE
                           "$<TARGET_PROPERTY:torvanel_show,INTERFACE_COMPILE_DEFINITIONS>")
set(TORVANEL_SCENE_MODULE "${CMAKE_BINARY_DIR}/torvanel_scenes.so")
set_property(SOURCE "${CMAKE_SOURCE_DIR}/show/scene_module.cpp" APPEND PROPERTY
             COMPILE_DEFINITIONS "TORVANEL_SCENE_MODULE_PATH=\"${TORVANEL_SCENE_MODULE}\"")

# A program that loads the module: every engine library whole, every symbol
# exported. Called before the program links the engine.
function(torvanel_export_for_scene_module target)
  # Before any plain link of the engine, whose later mentions then add nothing.
  target_link_libraries(${target} PRIVATE -Wl,--whole-archive torvanel_app torvanel_show torvanel_midi
                        torvanel_timing torvanel_assets torvanel_render torvanel_platform -Wl,--no-whole-archive)
  set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
  add_dependencies(${target} torvanel_scenes)
endfunction()
torvanel_export_for_scene_module(torvanel)

if(TORVANEL_TESTS)
  # A headless frame loop that reloads the module, and the end-to-end test
  # that rebuilds a changed act into a module of its own under its eyes.
  add_executable(scene_reload_driver "${CMAKE_SOURCE_DIR}/tests/scene_module/reload_driver.cpp")
  torvanel_export_for_scene_module(scene_reload_driver)
  target_link_libraries(scene_reload_driver PRIVATE torvanel_app)
  set_target_properties(scene_reload_driver PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}")
  add_test(NAME scene_module.reload
           COMMAND bash "${CMAKE_SOURCE_DIR}/tests/scene_module/reload_test.sh"
                   $<TARGET_FILE:scene_reload_driver> "${CMAKE_BINARY_DIR}"
           WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}")
  set_tests_properties(scene_module.reload PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE)
endif()
