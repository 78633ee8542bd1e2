# Checks that the committed aircraft is what its generator makes (natively only: another
# C library may round its sines differently) and that the tool names the textures and
# counts the triangles the generator placed. Run with -DMAKE_AIRCRAFT=... -DCLI=...
# -DAIRCRAFT=... -DWORK=... and, for a cross-build, -DEMULATOR=...
if(NOT EMULATOR)
  execute_process(COMMAND ${MAKE_AIRCRAFT} ${WORK}/aircraft-check.mdl RESULT_VARIABLE made)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${AIRCRAFT} ${WORK}/aircraft-check.mdl
                  RESULT_VARIABLE same)
  if(NOT made EQUAL 0 OR NOT same EQUAL 0)
    message(FATAL_ERROR "examples/aircraft/aircraft.mdl differs from what make-aircraft writes; regenerate it")
  endif()
endif()
execute_process(COMMAND ${EMULATOR} ${CLI} list --textures ${AIRCRAFT}
                RESULT_VARIABLE listed OUTPUT_VARIABLE lines)
string(REPLACE "\r" "" lines "${lines}")
if(NOT listed EQUAL 0 OR NOT lines MATCHES "FF  fuselage_t.bmp\n.*FF  wings_t.bmp\n.*59  canopy_t.bmp\n.*6 Materials found\n$")
  message(FATAL_ERROR "tintara-cli list --textures on the aircraft gave ${listed}:\n${lines}")
endif()
execute_process(COMMAND ${EMULATOR} ${CLI} dump ${AIRCRAFT} RESULT_VARIABLE dumped OUTPUT_VARIABLE json)
string(REGEX MATCHALL "\"triangles\": [0-9]+" counts "${json}")
if(NOT dumped EQUAL 0 OR NOT json MATCHES "\"format\": \"MDL8\", \"walked\": true"
   OR NOT counts STREQUAL "\"triangles\": 1280;\"triangles\": 180;\"triangles\": 30;\"triangles\": 288;\"triangles\": 96;\"triangles\": 0")
  message(FATAL_ERROR "tintara-cli dump on the aircraft gave ${dumped}: ${counts}")
endif()
