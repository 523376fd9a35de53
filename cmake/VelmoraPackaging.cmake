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
set(velmora_changelog "${CMAKE_CURRENT_BINARY_DIR}/doc/changelog.gz")
add_custom_command(
  OUTPUT "${velmora_changelog}"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/doc"
  COMMAND ${GZIP_PROGRAM} -9 -n -c "${PROJECT_SOURCE_DIR}/doc/changelog" > "${velmora_changelog}"
  DEPENDS "${PROJECT_SOURCE_DIR}/doc/changelog"
  COMMENT "Compressing the changelog")
add_custom_target(man-pages ALL DEPENDS ${velmora_man_pages} "${velmora_changelog}")
install(FILES ${velmora_man_pages} DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${PROJECT_SOURCE_DIR}/doc/copyright" "${velmora_changelog}"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/velmora")

# Software centres read the metadata; appstreamcli checks it when it is there.
install(FILES "${VELMORA_TRANSLATED_METAINFO}" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

# Last, once the desktop entry and icons are in place: "Open With" lists Velmora at once. A package
# is staged under _CPack_Packages and leaves the caches to the system's triggers, as does an install
# into DESTDIR.
install(CODE [[
  set(velmora_prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
  if("$ENV{DESTDIR}" STREQUAL "" AND NOT velmora_prefix MATCHES "/_CPack_Packages/")
    find_program(VELMORA_UPDATE_DESKTOP_DATABASE update-desktop-database)
    if(VELMORA_UPDATE_DESKTOP_DATABASE)
      message(STATUS "Refreshing the desktop database in ${velmora_prefix}/share/applications")
      execute_process(COMMAND "${VELMORA_UPDATE_DESKTOP_DATABASE}" -q "${velmora_prefix}/share/applications")
    endif()
    find_program(VELMORA_UPDATE_ICON_CACHE gtk-update-icon-cache)
    if(VELMORA_UPDATE_ICON_CACHE)
      message(STATUS "Refreshing the icon cache in ${velmora_prefix}/share/icons/hicolor")
      execute_process(COMMAND "${VELMORA_UPDATE_ICON_CACHE}" -q -f -t "${velmora_prefix}/share/icons/hicolor")
    endif()
  endif()
]])

set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Dastrel")
set(CPACK_PACKAGE_CONTACT "Dastrel <dastrel@dastrel.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://www.dastrel.example/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "repairs CUE sheets")
# Lines of at most 80 characters, as package tools show them.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "Velmora checks the file that a CUE sheet names, moves a disc image beside\n"
  "its sheet or names the right audio file, and writes INDEX 01 times with\n"
  "two-digit fields. It comes as a window (velmora) that opens .cue files from\n"
  "the desktop and as a terminal program (velmora-fix).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation | fonts-dejavu-core")
# The character set detector is opened only when a sheet needs it, so the package works without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, libuchardet0")
set(CPACK_GENERATOR DEB)
include(CPack)
