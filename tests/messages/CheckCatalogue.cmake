# Extracts every Localized("...") text of the sources and fails when a catalogue lacks one.
file(GLOB_RECURSE sources "${SOURCE_ROOT}/cue/*.cpp" "${SOURCE_ROOT}/cli/*.cpp" "${SOURCE_ROOT}/platform/*.cpp"
     "${SOURCE_ROOT}/shell/*.cpp" "${SOURCE_ROOT}/messages/*.cpp")
execute_process(
  COMMAND ${XGETTEXT} --language=C++ --from-code=UTF-8 --keyword= --keyword=Localized:1 --output=${WORK}/velmora.pot
          ${sources}
  RESULT_VARIABLE extracted)
if(NOT extracted EQUAL 0)
  message(FATAL_ERROR "xgettext failed")
endif()
file(STRINGS "${WORK}/velmora.pot" ids REGEX "^msgid \".+\"$")
list(LENGTH ids count)
if(count LESS 10)
  message(FATAL_ERROR "only ${count} messages were extracted; the Localized keyword no longer matches")
endif()
file(GLOB catalogues "${SOURCE_ROOT}/messages/*.po")
foreach(catalogue IN LISTS catalogues)
  execute_process(COMMAND ${MSGCMP} ${catalogue} ${WORK}/velmora.pot RESULT_VARIABLE compared)
  if(NOT compared EQUAL 0)
    message(FATAL_ERROR "${catalogue} lacks messages that the code uses")
  endif()
endforeach()
