# TMButton: bitmap push, latch, rocker and drop-down button.
tintara_component(tintara_mbutton tintara_controls
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/mbutton.cpp ${CMAKE_CURRENT_LIST_DIR}/mbutton.h
          ${CMAKE_CURRENT_LIST_DIR}/ControlColour.h
  LIBS tintara_clickable)
