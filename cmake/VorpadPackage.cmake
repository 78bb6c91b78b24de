# The Debian package vorpad_<version>_amd64.deb, made by CPack (script/package). It holds what
# `cmake --install` puts in place (the three programs, the editor's desktop entry, file types,
# icons and metainfo, the udev rule) and, from here, the man pages and Debian's documentation files.
# Never the sample firmware package: it has no install rule.
include(GNUInstallDirs)

set(VORPAD_PACKAGE_MAINTAINER "Morvane Professional <packages@vorpad.org>" CACHE STRING
    "The Maintainer field of the Debian package")
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(package_doc ${CMAKE_INSTALL_DATADIR}/doc/vorpad)

# Man pages from each program's --help and --version, with a hand-written include for what the
# options do not say (environment, files, exit status).
find_program(HELP2MAN help2man)
if(HELP2MAN)
  set(man_dir ${CMAKE_BINARY_DIR}/man)
  set(man_pages "")
  foreach(entry "ZELVorpad|edit and back up the patches of Vorpad keyboard controllers"
                "Updater|update the firmware of Vorpad keyboard controllers"
                "vorpadctl|back up, restore and edit Vorpad patches and banks from the command line")
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 program)
    list(GET entry 1 name)
    add_custom_command(
      OUTPUT ${man_dir}/${program}.1.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}
      COMMAND ${packaging}/man/make-man-page $<TARGET_FILE:${program}> ${packaging}/man/${program}.h2m ${name}
              ${man_dir}/${program}.1.gz
      DEPENDS ${program} ${packaging}/man/${program}.h2m ${packaging}/man/make-man-page
      COMMENT "Writing the man page of ${program}"
      VERBATIM)
    list(APPEND man_pages ${man_dir}/${program}.1.gz)
  endforeach()
  add_custom_target(vorpad_man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found: no man pages (script/bootstrap installs it)")
endif()

# Debian's documentation files: the copyright and a changelog naming the release.
execute_process(COMMAND date -R -u -d "${VORPAD_RELEASE_DATE}"
                OUTPUT_VARIABLE VORPAD_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(${packaging}/changelog.in ${CMAKE_BINARY_DIR}/package-doc/changelog @ONLY)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/package-doc/changelog.gz
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/package-doc/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/package-doc/changelog
  VERBATIM)
add_custom_target(vorpad_package_doc ALL DEPENDS ${CMAKE_BINARY_DIR}/package-doc/changelog.gz)
install(FILES ${packaging}/copyright ${CMAKE_BINARY_DIR}/package-doc/changelog.gz DESTINATION ${package_doc})
install(FILES ${packaging}/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME vorpad)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorpad)
set(CPACK_PACKAGE_VENDOR "Morvane Professional")
set(CPACK_PACKAGE_CONTACT "${VORPAD_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor, librarian and firmware updater for Vorpad MIDI controllers")
set(CPACK_PACKAGE_DESCRIPTION
    "ZELVorpad edits the patches and zones of the Vorpad USB MIDI keyboard
controllers (25, 49 and 61 keys) as they play, and loads and saves patch and
bank files. vorpadctl backs up, restores and edits them from the command line,
and Updater writes new firmware into the controllers. A simulated controller
lets every program run without hardware.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt plug-ins no library link reveals, by the Debian 12 packages that ship them. The xcb platform
# plug-in comes with libqt6gui6, which the link already names; the patch library (Qt SQL) opens
# its store through the SQLite driver. script/package --check holds Depends to both.
if(TARGET vorpad_library)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite")
endif()
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
