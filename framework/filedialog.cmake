# The file-open dialog: the dialog object with its initial-folder rule, and the
# chooser behind it (the real dialog, or a stand-in in tests).
tintara_component(tintara_filedialog tintara_framework
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/FileChooser.cpp ${CMAKE_CURRENT_LIST_DIR}/FileChooser.h
          ${CMAKE_CURRENT_LIST_DIR}/FolderRules.cpp ${CMAKE_CURRENT_LIST_DIR}/FolderRules.h
          ${CMAKE_CURRENT_LIST_DIR}/OpenDialog.cpp ${CMAKE_CURRENT_LIST_DIR}/OpenDialog.h)
