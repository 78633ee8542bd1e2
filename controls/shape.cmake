# TShape: a rectangle or circle filled with one screen colour value.
tintara_component(tintara_shape tintara_controls
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/Shape.cpp ${CMAKE_CURRENT_LIST_DIR}/Shape.h)
