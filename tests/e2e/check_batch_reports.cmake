# The batch tool's report files of one workbook, made by two processes: the
# JSON must follow the schema, and the JSON, CSV and HTML of the two runs
# must be the same byte for byte once the analysis time is set aside.
# -DBATCH=velm-kalix-batch -DWORKBOOK=file -DOUT=prefix -DSCHEMA=... -DVALIDATE=validate_json.py
foreach(run 1 2)
  file(REMOVE ${OUT}-${run}.xlsx)  # the copy of an earlier ctest run
  execute_process(COMMAND ${BATCH} --output ${OUT}-${run}.xlsx --json ${OUT}-${run}.json --csv ${OUT}-${run}.csv
                          --html ${OUT}-${run}.html ${WORKBOOK}
                  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "velm-kalix-batch ${WORKBOOK} failed (${rc}): ${err}")
  endif()
  file(READ ${OUT}-${run}.json json${run})
  file(READ ${OUT}-${run}.html html${run})
  string(JSON time${run} GET "${json${run}}" header analysis_time)
endforeach()

execute_process(COMMAND python3 ${VALIDATE} ${SCHEMA} ${OUT}-1.json RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${OUT}-1.json does not follow ${SCHEMA}")
endif()

# The analysis time is in the HTML too, as the header gave it.
string(FIND "${html1}" "${time1}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the HTML does not show the analysis time ${time1}")
endif()
foreach(kind json html)
  string(REPLACE "${time1}" "ANALYSIS-TIME" first "${${kind}1}")
  string(REPLACE "${time2}" "ANALYSIS-TIME" second "${${kind}2}")
  if(NOT first STREQUAL second)
    message(FATAL_ERROR "two runs gave different ${kind} besides the analysis time")
  endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT}-1.csv ${OUT}-2.csv RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "two runs gave different CSV")
endif()
