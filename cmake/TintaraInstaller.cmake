# The Windows installer, tintara-<version>-win64-setup.exe, next to the zip: target
# "setup" stages the zip's files (cmake --install --strip), lists them for
# packaging/windows/installer.nsi and runs Debian's makensis on it. CPack's NSIS
# generator is not used: its script asks for administrator rights, writes under HKLM
# and removes the whole folder, where ours installs per user and removes only its own.
find_program(TINTARA_MAKENSIS makensis)
if(NOT TINTARA_MAKENSIS)
  message(STATUS "makensis not found (Debian package nsis): no target setup")
  return()
endif()

set(installer_stage ${CMAKE_BINARY_DIR}/installer/stage)
set(installer_generated ${CMAKE_BINARY_DIR}/installer)
set(installer_file ${CMAKE_BINARY_DIR}/tintara-${TINTARA_VERSION}-win64-setup.exe)
set(installer_version4
    ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
if(PROJECT_VERSION_TWEAK)
  set(installer_version4
      ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${PROJECT_VERSION_TWEAK})
endif()

# The installer and the uninstaller show the programs' own icon.
include(${CMAKE_CURRENT_LIST_DIR}/TintaraWindowsResources.cmake)
tintara_program_icon(installer_icon)

add_custom_target(setup
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${installer_stage}
  COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${installer_stage} --strip
  COMMAND ${CMAKE_COMMAND} -DSTAGE=${installer_stage} -DOUT=${installer_generated}
          -P ${PROJECT_SOURCE_DIR}/packaging/windows/installer-files.cmake
  COMMAND ${TINTARA_MAKENSIS} -V2 -NOCD
          -DTINTARA_VERSION=${TINTARA_VERSION} -DTINTARA_VERSION4=${installer_version4}
          -DGENERATED=${installer_generated} -DOUTFILE=${installer_file}
          -DTINTARA_ICON=${installer_icon}
          ${PROJECT_SOURCE_DIR}/packaging/windows/installer.nsi
  BYPRODUCTS ${installer_file}
  COMMENT "Making ${installer_file}"
  VERBATIM)
add_dependencies(setup tintara tintara-cli tintara_program_icon)
