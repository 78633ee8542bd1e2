# TExeButton: file icon and label tile that can open its file.
tintara_component(tintara_exebutton tintara_controls
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ExeButtn.cpp ${CMAKE_CURRENT_LIST_DIR}/ExeButtn.h
  LIBS tintara_shell tintara_clickable)
