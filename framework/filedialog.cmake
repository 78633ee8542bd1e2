# The file-open dialog: the dialog object with its initial-folder rule, and the
# chooser behind it (the system's dialog, Qt's, or a stand-in in tests).
tintara_component(tintara_filedialog tintara_framework
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/FileChooser.cpp ${CMAKE_CURRENT_LIST_DIR}/FileChooser.h
          ${CMAKE_CURRENT_LIST_DIR}/SystemFileChooser.cpp
          ${CMAKE_CURRENT_LIST_DIR}/FolderRules.cpp ${CMAKE_CURRENT_LIST_DIR}/FolderRules.h
          ${CMAKE_CURRENT_LIST_DIR}/OpenDialog.cpp ${CMAKE_CURRENT_LIST_DIR}/OpenDialog.h)
if(WIN32)
  target_link_libraries(tintara_filedialog PRIVATE comdlg32)
endif()
