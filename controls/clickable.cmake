# TClickableControl: the mouse signals and click rule the two button controls share.
tintara_component(tintara_clickable tintara_controls
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ClickableControl.cpp ${CMAKE_CURRENT_LIST_DIR}/ClickableControl.h)
