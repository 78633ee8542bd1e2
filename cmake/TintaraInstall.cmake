# Installation: the editor and the command-line tool on the PATH, the desktop entry,
# the icon and the AppStream metainfo in the freedesktop locations, the manual pages,
# and the copyright file and changelog a Debian package must carry; `cpack -G DEB`
# packages the same, with the programs stripped (scripts/check-package runs lintian on it).
# On Windows everything goes into one folder that runs as it is: `cpack -G ZIP` makes
# tintara-<version>-win64.zip (see cmake/TintaraWindowsPackage.cmake).
include(GNUInstallDirs)

if(WIN32)
  include(${CMAKE_CURRENT_LIST_DIR}/TintaraWindowsPackage.cmake)
  return()
endif()

if(TARGET tintara)
  install(TARGETS tintara RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET tintara-cli)
  install(TARGETS tintara-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(UNIX AND NOT APPLE)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/tintara.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  # The file types the desktop entry opens; the package's triggers update the database.
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/tintara-mime.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME tintara.xml)
  install(FILES ${PROJECT_SOURCE_DIR}/mainwindow/tintara.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME tintara.png)
  # The same icon drawn to scale, for menus and software centres that want more pixels.
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/tintara.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${PROJECT_SOURCE_DIR}/examples/sample/sample.mdl
                ${PROJECT_SOURCE_DIR}/examples/aircraft/aircraft.mdl
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tintara/examples)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.example.tintara.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # The copyright file: the holder and the MIT terms of LICENSE, in Debian's
  # machine-readable form (where MIT is named Expat). LICENSE's closing note on the Qt
  # libraries concerns only the Windows zip, which carries them, so it stays out.
  set(tintara_license ${PROJECT_SOURCE_DIR}/LICENSE)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${tintara_license})
  file(READ ${tintara_license} tintara_text)
  string(REGEX MATCH "Copyright \\([cC]\\) ([^\n]+)" tintara_found "${tintara_text}")
  set(TINTARA_COPYRIGHT "${CMAKE_MATCH_1}")
  string(REGEX MATCH "Permission is hereby granted.*DEALINGS IN THE[ \n]+SOFTWARE\\."
         TINTARA_LICENSE_TERMS "${tintara_text}")
  if(NOT TINTARA_COPYRIGHT OR NOT TINTARA_LICENSE_TERMS)
    message(FATAL_ERROR "LICENSE: no \"Copyright (c) ...\" line or no MIT terms found; "
                        "cmake/TintaraInstall.cmake builds the package's copyright file "
                        "from them")
  endif()
  # Continuation lines start with a space; a blank line becomes " .".
  string(REPLACE "\n\n" "\n.\n" TINTARA_LICENSE_TERMS "${TINTARA_LICENSE_TERMS}")
  string(REPLACE "\n" "\n " TINTARA_LICENSE_TERMS " ${TINTARA_LICENSE_TERMS}")
  configure_file(${PROJECT_SOURCE_DIR}/packaging/debian/copyright.in
                 ${PROJECT_BINARY_DIR}/packaging/copyright @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/copyright
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tintara)

  # The changelog and the manual pages are installed compressed as Debian's own tools
  # do it: gzip -9n, best compression without name or time stamp, so that every build
  # gives the same bytes.
  find_program(TINTARA_GZIP gzip REQUIRED)
  set(tintara_compressed)
  foreach(tintara_doc packaging/debian/changelog packaging/man/tintara.1
                      packaging/man/tintara-cli.1)
    get_filename_component(tintara_name ${tintara_doc} NAME)
    set(tintara_gz ${PROJECT_BINARY_DIR}/packaging/${tintara_name}.gz)
    add_custom_command(
      OUTPUT ${tintara_gz}
      COMMAND ${TINTARA_GZIP} -9n -c ${PROJECT_SOURCE_DIR}/${tintara_doc} > ${tintara_gz}
      DEPENDS ${PROJECT_SOURCE_DIR}/${tintara_doc}
      COMMENT "Compressing ${tintara_doc}"
      VERBATIM)
    list(APPEND tintara_compressed ${tintara_gz})
  endforeach()
  add_custom_target(tintara_compressed_docs ALL DEPENDS ${tintara_compressed})
  install(FILES ${PROJECT_BINARY_DIR}/packaging/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tintara)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/tintara.1.gz
                ${PROJECT_BINARY_DIR}/packaging/tintara-cli.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

set(CPACK_PACKAGE_NAME tintara)
set(CPACK_PACKAGE_VENDOR "Tintara developers")
set(CPACK_PACKAGE_CONTACT "Tintara developers <tintara@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Material editor for flight simulator model and scenery files")
# The package's long description, after the summary line; blank lines part paragraphs.
set(tintara_description ${PROJECT_SOURCE_DIR}/packaging/debian/description)
file(READ ${tintara_description} CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${tintara_description})
# The newest entry of packaging/debian/changelog names this version.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
# Only the package's programs are stripped; the build tree's keep their symbols.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_GENERATOR DEB)
include(CPack)
