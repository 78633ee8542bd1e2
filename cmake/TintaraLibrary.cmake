# tintara_component(NAME AGGREGATE SOURCES files... [LIBS targets...])
# Adds one static library of the framework or controls folder and links it into the
# folder's aggregate target.
function(tintara_component name aggregate)
  cmake_parse_arguments(C "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${C_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets ${C_LIBS} PRIVATE tintara_options)
  target_link_libraries(${aggregate} INTERFACE ${name})
endfunction()
