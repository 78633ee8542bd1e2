# tintara_add_test(NAME SOURCES files... LIBS targets... [LABELS labels...])
# Builds one QtTest executable and registers it with CTest under the offscreen platform.
function(tintara_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE tintara_testsupport Qt6::Test ${T_LIBS} tintara_options)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TINTARA_TEST_DATA=${CMAKE_CURRENT_BINARY_DIR}"
    LABELS "${T_LABELS}"
    TIMEOUT 300)
endfunction()
