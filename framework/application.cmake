# The application object with the standard error display.
tintara_component(tintara_application tintara_framework
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/TApplication.cpp ${CMAKE_CURRENT_LIST_DIR}/TApplication.h
  LIBS tintara_prompt)
