# Writes one scenario's report files twice, in two processes with two
# analysis times; the JSON must follow the schema, and the two runs must be
# the same byte for byte once the analysis time is set aside.
foreach(run 1 2)
  execute_process(COMMAND ${WRITER} ${SCENARIO} ${OUT}-${run}.json ${OUT}-${run}.csv 2024-05-0${run}T10:00:00Z
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "write_assessment ${SCENARIO} failed: ${rc}")
  endif()
endforeach()

execute_process(COMMAND python3 ${VALIDATE} ${SCHEMA} ${OUT}-1.json RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OUT}-1.json does not follow ${SCHEMA}")
endif()

# The check itself must be able to fail: a document of another version does
# not follow the schema.
file(READ ${OUT}-1.json first)
string(REPLACE "\"schema_version\": \"1.1.0\"" "\"schema_version\": \"0.9.0\"" other "${first}")
file(WRITE ${OUT}-other-version.json "${other}")
execute_process(COMMAND python3 ${VALIDATE} ${SCHEMA} ${OUT}-other-version.json RESULT_VARIABLE rc
                OUTPUT_QUIET ERROR_QUIET)
if(rc EQUAL 0)
  message(FATAL_ERROR "the schema check passed a document of another version")
endif()

file(READ ${OUT}-2.json second)
string(REPLACE "2024-05-01T10:00:00Z" "2024-05-02T10:00:00Z" first "${first}")
if(NOT first STREQUAL second)
  message(FATAL_ERROR "two runs gave different JSON besides the analysis time")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}-1.csv ${OUT}-2.csv RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "two runs gave different CSV")
endif()
