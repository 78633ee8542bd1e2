# Shell stand-ins: associated icons, shortcut resolution, opening files and addresses.
tintara_component(tintara_shell tintara_framework
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/Shell.cpp ${CMAKE_CURRENT_LIST_DIR}/Shell.h)
if(WIN32)
  target_link_libraries(tintara_shell PRIVATE ole32 uuid shell32)
endif()
