# Writes one scenario's HTML report in two processes with two analysis
# times; the two files must be the same byte for byte once the analysis time
# is set aside.
foreach(run 1 2)
  execute_process(COMMAND ${WRITER} ${SCENARIO} ${OUT}-${run}.html 2024-05-0${run}T10:00:00Z
                  RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "write_html_report ${SCENARIO} failed: ${rc}")
  endif()
endforeach()
file(READ ${OUT}-1.html first)
file(READ ${OUT}-2.html second)
string(REPLACE "2024-05-01T10:00:00Z" "2024-05-02T10:00:00Z" first "${first}")
if(NOT first STREQUAL second)
  message(FATAL_ERROR "two runs gave different HTML besides the analysis time")
endif()
