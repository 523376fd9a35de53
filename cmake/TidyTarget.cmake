# `cmake --build <dir> --target tidy` runs clang-tidy 14 with the checks of .clang-tidy over the
# program's own sources (run it after a build: it reads compile_commands.json and the generated files).
find_program(RUN_CLANG_TIDY_EXE NAMES run-clang-tidy-14 run-clang-tidy)
find_program(CLANG_TIDY_EXE NAMES clang-tidy-14 clang-tidy)
if(RUN_CLANG_TIDY_EXE AND CLANG_TIDY_EXE)
  add_custom_target(tidy
    COMMAND "${RUN_CLANG_TIDY_EXE}" -clang-tidy-binary "${CLANG_TIDY_EXE}" -p "${CMAKE_BINARY_DIR}" -quiet
            # The compile commands carry GCC's own warning options, which clang does not know.
            -extra-arg=-Wno-unknown-warning-option
            "^${CMAKE_SOURCE_DIR}/(cli|controls|cue|errors|files|graphics|markup|messages|pictures|platform|resources|shell|text|tools)/"
    WORKING_DIRECTORY "${CMAKE_SOURCE_DIR}"
    COMMENT "Checking the sources with ${CLANG_TIDY_EXE}"
    VERBATIM)
endif()
