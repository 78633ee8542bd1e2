# The colour dialog behind a small interface, so tests can answer it.
tintara_component(tintara_colourdialog tintara_framework
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ColourChooser.cpp ${CMAKE_CURRENT_LIST_DIR}/ColourChooser.h)
if(WIN32)
  target_link_libraries(tintara_colourdialog PRIVATE comdlg32)
endif()
