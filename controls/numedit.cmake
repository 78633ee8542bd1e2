# Numeric edit field, its number text rules, and the up-down spinner that can be
# bound to it.
tintara_component(tintara_numedit tintara_controls
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/NumberText.cpp ${CMAKE_CURRENT_LIST_DIR}/NumberText.h
    ${CMAKE_CURRENT_LIST_DIR}/NumEdit.cpp ${CMAKE_CURRENT_LIST_DIR}/NumEdit.h
    ${CMAKE_CURRENT_LIST_DIR}/UpDown.cpp ${CMAKE_CURRENT_LIST_DIR}/UpDown.h)
