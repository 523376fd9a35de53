# One place for the compiler settings that every Velmora target shares.
function(velmora_target_options target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
    -Woverloaded-virtual -Wnull-dereference -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough
    -Wmisleading-indentation -Wduplicated-cond -Wlogical-op)
  if(VELMORA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# A GoogleTest executable for one folder, linking that folder's library. QT_SOURCES and QT_LIBRARIES
# join it only in builds with Qt, WIN32_SOURCES and WIN32_LIBRARIES only in the Windows build. A
# cross-built executable is one test, run whole under the emulator: starting Wine once per case would
# cost more than the cases. WINE_DESKTOP runs it on an X desktop of its own (tools/wine/run-gui.sh) in
# the window tests' Wine prefix, one such test at a time: they share that prefix's wineserver, and with
# it the global names "Test" and "TForm1".
function(velmora_add_gtest name)
  cmake_parse_arguments(ARG "WINE_DESKTOP" "" "SOURCES;LIBRARIES;QT_SOURCES;QT_LIBRARIES;WIN32_SOURCES;WIN32_LIBRARIES" ${ARGN})
  if(VELMORA_WITH_QT)
    list(APPEND ARG_SOURCES ${ARG_QT_SOURCES})
    list(APPEND ARG_LIBRARIES ${ARG_QT_LIBRARIES})
  endif()
  if(WIN32)
    list(APPEND ARG_SOURCES ${ARG_WIN32_SOURCES})
    list(APPEND ARG_LIBRARIES ${ARG_WIN32_LIBRARIES})
  endif()
  add_executable(${name} ${ARG_SOURCES})
  velmora_target_options(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gtest_main GTest::gmock)
  if(CMAKE_CROSSCOMPILING AND ARG_WINE_DESKTOP)
    add_test(NAME ${name}
      COMMAND "${PROJECT_SOURCE_DIR}/tools/wine/run-gui.sh" "${PROJECT_BINARY_DIR}/wine-desktop" $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK velmora_instance_names)
    set_property(GLOBAL APPEND PROPERTY VELMORA_CROSS_BUILT_PROGRAMS ${name})
  elseif(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    set_property(GLOBAL APPEND PROPERTY VELMORA_CROSS_BUILT_PROGRAMS ${name})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()

# Lets a library and whoever links it include the headers of the folder it is built in as
# "<folder>/Name.h", and no other folder's: its include path is a folder of the build tree that holds
# a single link, to this folder.
function(velmora_export_headers target)
  file(RELATIVE_PATH folder "${PROJECT_SOURCE_DIR}" "${CMAKE_CURRENT_SOURCE_DIR}")
  string(REPLACE "/" "-" key "${folder}")
  set(root "${PROJECT_BINARY_DIR}/include/${key}")
  get_filename_component(parent "${root}/${folder}" DIRECTORY)
  file(MAKE_DIRECTORY "${parent}")
  file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}" "${root}/${folder}" SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE "${root}")
  else()
    target_include_directories(${target} PUBLIC "${root}")
  endif()
endfunction()
