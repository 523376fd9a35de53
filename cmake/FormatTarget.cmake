# `cmake --build <dir> --target format` runs clang-format 14 over every tracked C++ file.
find_program(CLANG_FORMAT_EXE NAMES clang-format-14 clang-format)
if(CLANG_FORMAT_EXE)
  add_custom_target(format
    COMMAND git ls-files -z -- "*.cpp" "*.h" | xargs -0 -r "${CLANG_FORMAT_EXE}" -i
    WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}"
    COMMENT "Formatting C++ sources with ${CLANG_FORMAT_EXE}"
    VERBATIM)
endif()
