# The per-user settings store with the program's typed reads and writes.
tintara_component(tintara_settings tintara_framework
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/SettingsStore.cpp ${CMAKE_CURRENT_LIST_DIR}/SettingsStore.h
          ${CMAKE_CURRENT_LIST_DIR}/RegistrySettings.cpp ${CMAKE_CURRENT_LIST_DIR}/RegistrySettings.h)
