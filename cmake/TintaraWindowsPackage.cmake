# The portable Windows package: both programs with the Qt and MinGW runtime libraries,
# the plugins they load, a qt.conf that points Qt at the folder itself, the sample
# model, a short README and the licences. `cpack -G ZIP` in the build folder writes
# tintara-<version>-win64.zip; unzipped anywhere, it runs with nothing else installed.
set(windows_dir ${PROJECT_SOURCE_DIR}/packaging/windows)

install(TARGETS tintara tintara-cli RUNTIME DESTINATION .)

# Qt's libraries and plugins, from the Qt this build uses.
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT qt_core_dll)
  get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION)
endif()
get_filename_component(qt_bin ${qt_core_dll} DIRECTORY)
get_filename_component(qt_prefix ${qt_bin} DIRECTORY)
install(FILES ${qt_bin}/Qt6Core.dll ${qt_bin}/Qt6Gui.dll ${qt_bin}/Qt6Widgets.dll DESTINATION .)
install(FILES ${qt_prefix}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${qt_prefix}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)
# Icons are the one image format beyond the built-in PNG that the program reads.
install(FILES ${qt_prefix}/plugins/imageformats/qico.dll DESTINATION imageformats)

# The MinGW-w64 runtime: found where the compiler itself looks for its libraries.
foreach(dll libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
    find_file(found_${dll} ${dll} PATHS /usr/x86_64-w64-mingw32/lib
              /usr/lib/gcc/x86_64-w64-mingw32/${CMAKE_CXX_COMPILER_VERSION}-posix
              NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    set(found ${found_${dll}})
  endif()
  if(NOT EXISTS "${found}")
    message(FATAL_ERROR "the MinGW runtime library ${dll} was not found")
  endif()
  install(FILES ${found} DESTINATION .)
  # Debian ships them with their symbols; users need none of them.
  if(CMAKE_STRIP)
    install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded
                  \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${dll}\")")
  endif()
endforeach()

set(TINTARA_VERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH})
configure_file(${windows_dir}/README.txt ${CMAKE_CURRENT_BINARY_DIR}/README.txt @ONLY
               NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt ${windows_dir}/qt.conf
              ${windows_dir}/QT-NOTICE.txt ${windows_dir}/build-qt-mingw64.sh
              ${PROJECT_SOURCE_DIR}/examples/sample/sample.mdl
              ${PROJECT_SOURCE_DIR}/examples/aircraft/aircraft.mdl
        DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
# Qt's licence and the GPL it adds to, as Debian ships them.
foreach(licence LGPL-3 GPL-3)
  if(NOT EXISTS /usr/share/common-licenses/${licence})
    message(FATAL_ERROR "/usr/share/common-licenses/${licence} is missing (package base-files)")
  endif()
  install(FILES /usr/share/common-licenses/${licence} DESTINATION . RENAME LICENSE.${licence}.txt)
endforeach()

set(CPACK_PACKAGE_NAME tintara)
set(CPACK_PACKAGE_VENDOR "Tintara developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Material editor for flight simulator model and scenery files")
set(CPACK_PACKAGE_VERSION ${TINTARA_VERSION})
set(CPACK_SYSTEM_NAME win64)
set(CPACK_GENERATOR ZIP)
set(CPACK_STRIP_FILES ON)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_FILE_NAME tintara-${TINTARA_VERSION}-win64)
include(CPack)

include(${CMAKE_CURRENT_LIST_DIR}/TintaraInstaller.cmake)
