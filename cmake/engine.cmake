# The engine: one static library per subsystem folder, linked together into
# the show executable. Tests live in tests/<folder>/ and get one executable
# per folder, linked against the whole engine.

option(TORVANEL_ENGINE "Build the engine and the show (off: only lib/)" ON)
if(NOT TORVANEL_ENGINE)
  return()
endif()

find_package(PkgConfig REQUIRED)
find_package(OpenMP REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(GLEW REQUIRED IMPORTED_TARGET glew)
pkg_check_modules(GLU REQUIRED IMPORTED_TARGET glu)
pkg_check_modules(GLLIB REQUIRED IMPORTED_TARGET gl)
pkg_check_modules(JPEG REQUIRED IMPORTED_TARGET libjpeg)
pkg_check_modules(MPG123 REQUIRED IMPORTED_TARGET libmpg123)
pkg_check_modules(RTMIDI REQUIRED IMPORTED_TARGET rtmidi)
# Found as the forges find it: its CMake package, the three modules used.
find_package(OpenCV 4 REQUIRED COMPONENTS core imgproc imgcodecs)
pkg_check_modules(LZ4 REQUIRED IMPORTED_TARGET liblz4)
pkg_check_modules(XXHASH REQUIRED IMPORTED_TARGET libxxhash)

set(TORVANEL_FOLDERS platform midi render timing assets show app)

foreach(folder ${TORVANEL_FOLDERS})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${folder}/*.cpp")
  # The program's entry, and the scene module's (cmake/scene_module.cmake).
  list(FILTER srcs EXCLUDE REGEX "/app/main\\.cpp$|/show/scene_module_entry\\.cpp$")
  if(NOT srcs)  # a folder still being written: keep the graph valid
    set(srcs "${CMAKE_BINARY_DIR}/empty_${folder}.cpp")
    file(WRITE ${srcs} "")
  endif()
  add_library(torvanel_${folder} STATIC ${srcs})
  target_include_directories(torvanel_${folder} PUBLIC "${CMAKE_SOURCE_DIR}")
endforeach()

target_link_libraries(torvanel_platform PUBLIC PkgConfig::SDL2 termcolor Threads::Threads)
target_link_libraries(torvanel_midi PUBLIC torvanel_platform PkgConfig::RTMIDI Threads::Threads)
target_link_libraries(torvanel_render PUBLIC torvanel_platform PkgConfig::GLEW PkgConfig::GLU
                      PkgConfig::GLLIB ${OpenCV_LIBS} PkgConfig::JPEG PkgConfig::LZ4 PkgConfig::XXHASH)
# Dependencies run one way: platform and lib, render, assets, timing and midi,
# show, app. A lower folder never includes a higher one.
target_link_libraries(torvanel_assets PUBLIC torvanel_render)
foreach(lib ply corto delaunay)
  if(TARGET ${lib})
    target_link_libraries(torvanel_assets PUBLIC ${lib})
  endif()
endforeach()
target_link_libraries(torvanel_timing PUBLIC torvanel_platform PkgConfig::MPG123)
target_link_libraries(torvanel_show PUBLIC torvanel_assets torvanel_timing torvanel_midi ${CMAKE_DL_LIBS})
target_link_libraries(torvanel_app PUBLIC torvanel_show)

# What tests, tools and benchmarks share: the GL test context and scratch
# folders of tests/support/.
add_library(torvanel_test_support INTERFACE)
target_include_directories(torvanel_test_support INTERFACE "${CMAKE_SOURCE_DIR}")
target_link_libraries(torvanel_test_support INTERFACE torvanel_platform PkgConfig::GLEW)

add_executable(torvanel "${CMAKE_SOURCE_DIR}/app/main.cpp")
include(cmake/scene_module.cmake)  # with its option on, links the engine whole first
target_link_libraries(torvanel PRIVATE torvanel_app)

if(TORVANEL_TESTS)
  file(GLOB e2e_scripts CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/e2e/*.sh")
  foreach(script ${e2e_scripts})
    get_filename_component(name ${script} NAME_WE)
    add_test(NAME e2e.${name} COMMAND bash ${script} $<TARGET_FILE:torvanel> ${CMAKE_BINARY_DIR}
             WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}")
    set_tests_properties(e2e.${name} PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)
  endforeach()

  # The folders' include rules, read from the sources.
  add_executable(tests_layering "${CMAKE_SOURCE_DIR}/tests/layering_test.cpp")
  target_link_libraries(tests_layering PRIVATE GTest::gtest_main)
  target_compile_definitions(tests_layering PRIVATE TORVANEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(tests_layering DISCOVERY_MODE PRE_TEST)

  foreach(folder ${TORVANEL_FOLDERS})
    file(GLOB tsrcs CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/${folder}/*.cpp")
    if(tsrcs)
      add_executable(tests_${folder} ${tsrcs})
      # Tests stand above the engine: a test of a lower folder may open the
      # show window through the shell.
      target_link_libraries(tests_${folder} PRIVATE torvanel_app)
      target_link_libraries(tests_${folder} PRIVATE torvanel_test_support GTest::gtest_main)
      target_compile_definitions(tests_${folder} PRIVATE
        TORVANEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        TORVANEL_BINARY_DIR="${CMAKE_BINARY_DIR}")
      gtest_discover_tests(tests_${folder} DISCOVERY_MODE PRE_TEST
                           WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}")
    endif()
  endforeach()
endif()
