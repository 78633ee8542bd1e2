# Product version of executables and libraries, and the library search that finds them.
include(${PROJECT_SOURCE_DIR}/cmake/TintaraVersion.cmake)
tintara_component(tintara_fileversion tintara_framework
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/FileVersion.h
    ${CMAKE_CURRENT_LIST_DIR}/FileVersion.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FileVersionElf.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FileVersionLookup.h
    ${CMAKE_CURRENT_LIST_DIR}/FileVersionLookup.cpp
  LIBS $<$<PLATFORM_ID:Windows>:version>)
