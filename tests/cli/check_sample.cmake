# Checks that the committed sample is what the generator makes, and that the
# installed-style tool lists it. Run with -DMAKE_SAMPLE=... -DCLI=... -DSAMPLE=... -DWORK=...
# and, for a cross-build, -DEMULATOR=... to run them.
execute_process(COMMAND ${EMULATOR} ${MAKE_SAMPLE} ${WORK}/sample-check.mdl RESULT_VARIABLE made)
if(NOT made EQUAL 0)
  message(FATAL_ERROR "make-sample failed: ${made}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SAMPLE} ${WORK}/sample-check.mdl
                RESULT_VARIABLE same)
if(NOT same EQUAL 0)
  message(FATAL_ERROR "examples/sample/sample.mdl differs from what make-sample writes; regenerate it")
endif()
execute_process(COMMAND ${EMULATOR} ${CLI} list ${SAMPLE} RESULT_VARIABLE listed OUTPUT_VARIABLE lines)
string(REPLACE "\r" "" lines "${lines}") # Windows ends its text lines in CRLF
if(NOT listed EQUAL 0 OR NOT lines MATCHES "LOD 01 01 0000005C  FF FF FF FF\n.*8 Materials found\n$")
  message(FATAL_ERROR "tintara-cli list on the sample gave ${listed}:\n${lines}")
endif()
