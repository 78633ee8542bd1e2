# Installation: the editor and the command-line tool on the PATH, the desktop entry
# and the icon in the freedesktop locations; `cpack -G DEB` packages the same, with the
# programs stripped.
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
  install(FILES ${PROJECT_SOURCE_DIR}/examples/sample/sample.mdl
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tintara/examples)
endif()

set(CPACK_PACKAGE_NAME tintara)
set(CPACK_PACKAGE_VENDOR "Tintara developers")
set(CPACK_PACKAGE_CONTACT "Tintara developers <tintara@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Material editor for flight simulator model and scenery files")
# The package's long description, after the summary line; blank lines part paragraphs.
set(tintara_description ${PROJECT_SOURCE_DIR}/packaging/debian/description)
file(READ ${tintara_description} CPACK_DEBIAN_PACKAGE_DESCRIPTION)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${tintara_description})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
# Only the package's programs are stripped; the build tree's keep their symbols.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_GENERATOR DEB)
include(CPack)
