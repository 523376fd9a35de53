# Extracts every text the code looks up, and the desktop entry's and AppStream's, then fails when a
# catalogue lacks one or when a translation's placeholders differ from its English text's.
set(sources)
foreach(folder cue cli platform shell messages errors)
  file(GLOB_RECURSE found "${SOURCE_ROOT}/${folder}/*.cpp" "${SOURCE_ROOT}/${folder}/*.h")
  list(APPEND sources ${found})
endforeach()
execute_process(
  COMMAND ${XGETTEXT} --language=C++ --from-code=UTF-8 --keyword= --keyword=Localized:1 --keyword=LocalizedText:1
          --keyword=ForCatalogue:1 --flag=Localized:1:c-format --flag=LocalizedText:1:c-format
          --flag=ForCatalogue:1:c-format --output=${WORK}/code.pot ${sources}
  RESULT_VARIABLE extracted)
if(NOT extracted EQUAL 0)
  message(FATAL_ERROR "xgettext failed on the code")
endif()
execute_process(
  COMMAND ${XGETTEXT} --from-code=UTF-8 --output=${WORK}/metadata.pot
          ${SOURCE_ROOT}/resources/velmora.desktop ${SOURCE_ROOT}/resources/velmora.metainfo.xml
  RESULT_VARIABLE extracted)
if(NOT extracted EQUAL 0)
  message(FATAL_ERROR "xgettext failed on the desktop entry or the AppStream file")
endif()
execute_process(COMMAND ${MSGCAT} --use-first --output-file=${WORK}/velmora.pot ${WORK}/code.pot ${WORK}/metadata.pot
                RESULT_VARIABLE joined)
if(NOT joined EQUAL 0)
  message(FATAL_ERROR "msgcat failed")
endif()
file(STRINGS "${WORK}/velmora.pot" ids REGEX "^msgid \".+\"$")
list(LENGTH ids count)
if(count LESS 50)
  message(FATAL_ERROR "only ${count} messages were extracted; the keywords no longer match")
endif()

# Every language the build installs, and no catalogue it would leave out.
file(STRINGS "${SOURCE_ROOT}/messages/LINGUAS" languages)
file(GLOB catalogues "${SOURCE_ROOT}/messages/*.po")
list(LENGTH languages wanted)
list(LENGTH catalogues found)
if(NOT wanted EQUAL found)
  message(FATAL_ERROR "LINGUAS names ${wanted} languages, messages/ holds ${found} catalogues")
endif()
foreach(language IN LISTS languages)
  set(catalogue "${SOURCE_ROOT}/messages/${language}.po")
  execute_process(COMMAND ${MSGCMP} ${catalogue} ${WORK}/velmora.pot RESULT_VARIABLE compared)
  if(NOT compared EQUAL 0)
    message(FATAL_ERROR "${catalogue} lacks messages that the code uses")
  endif()
  # The template's c-format marks travel into the merged copy, so every placeholder is compared, also
  # where the catalogue forgot the mark.
  execute_process(COMMAND ${MSGMERGE} --quiet --no-fuzzy-matching --output-file=${WORK}/${language}.po
                          ${catalogue} ${WORK}/velmora.pot RESULT_VARIABLE merged)
  execute_process(COMMAND ${MSGFMT} --check-format --use-fuzzy --output-file=/dev/null ${WORK}/${language}.po
                  RESULT_VARIABLE formats ERROR_VARIABLE complaints)
  if(NOT merged EQUAL 0 OR NOT formats EQUAL 0)
    message(FATAL_ERROR "${catalogue}: placeholders differ from the English text\n${complaints}")
  endif()
  # A fuzzy entry is one the lookups skip: as good as untranslated.
  foreach(kind untranslated only-fuzzy)
    execute_process(COMMAND ${MSGATTRIB} --${kind} --no-obsolete ${WORK}/${language}.po OUTPUT_VARIABLE left)
    if(NOT left STREQUAL "")
      message(FATAL_ERROR "${catalogue} leaves messages untranslated (${kind}):\n${left}")
    endif()
  endforeach()
endforeach()
