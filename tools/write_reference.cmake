# cmake -DPROGRAM=<decimora> -DOUTPUT=<file> -P write_reference.cmake
# Writes the function reference (decimora --help-html) to OUTPUT, replacing
# it only when complete, so a failed run never leaves half a page behind.
execute_process(COMMAND "${PROGRAM}" --help-html OUTPUT_FILE "${OUTPUT}.tmp" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE "${OUTPUT}.tmp")
  message(FATAL_ERROR "${PROGRAM} --help-html failed: ${status}")
endif()
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
