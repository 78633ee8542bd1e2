# Message boxes behind a small interface, so tests can record and answer them.
tintara_component(tintara_prompt tintara_framework
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/Prompter.cpp ${CMAKE_CURRENT_LIST_DIR}/Prompter.h)
