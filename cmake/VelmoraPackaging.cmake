# Man pages and the Debian package: cpack -G DEB in the build folder.
find_program(GZIP_PROGRAM gzip REQUIRED)

foreach(page velmora.1 velmora-fix.1)
  set(compressed "${CMAKE_CURRENT_BINARY_DIR}/doc/${page}.gz")
  # -n leaves the time out, so that the same page gives the same bytes.
  add_custom_command(
    OUTPUT "${compressed}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/doc"
    COMMAND ${GZIP_PROGRAM} -9 -n -c "${PROJECT_SOURCE_DIR}/doc/${page}" > "${compressed}"
    DEPENDS "${PROJECT_SOURCE_DIR}/doc/${page}"
    COMMENT "Compressing the man page ${page}")
  list(APPEND velmora_man_pages "${compressed}")
endforeach()
add_custom_target(man-pages ALL DEPENDS ${velmora_man_pages})
install(FILES ${velmora_man_pages} DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")

set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Dastrel")
set(CPACK_PACKAGE_CONTACT "Dastrel <dastrel@dastrel.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://www.dastrel.example/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "repairs CUE sheets")
set(CPACK_PACKAGE_DESCRIPTION "Velmora checks the file that a CUE sheet names, moves a disc image beside \
its sheet or names the right audio file, and writes INDEX 01 times with two-digit fields. It comes as a \
window (velmora) that opens .cue files from the desktop and as a terminal program (velmora-fix).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation | fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_GENERATOR DEB)
include(CPack)
