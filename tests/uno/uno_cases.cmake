# Read by ctest (the test folder's TEST_INCLUDE_FILES): one entry per case of
# the LibreOffice test program, uno_tests.SUITE.CASE, that reads the case's
# result from the report of the program's one run (the entry uno_tests,
# which ctest runs first as the fixture uno_tests_report).
# Set by the includer: PROGRAM, RESULTS (the report), CHECK (case_result.py).
execute_process(COMMAND ${PROGRAM} --gtest_list_tests OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  # Not built yet, or it does not start: an entry that shows why.
  add_test(uno_tests.cases ${PROGRAM} --gtest_list_tests)
  return()
endif()

string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
  if(line MATCHES "^([A-Za-z0-9_/]+)\\.$")
    set(suite ${CMAKE_MATCH_1})
  elseif(line MATCHES "^  ([A-Za-z0-9_/]+)")
    set(name ${suite}.${CMAKE_MATCH_1})
    add_test(uno_tests.${name} python3 ${CHECK} ${RESULTS} ${name})
    set_tests_properties(uno_tests.${name} PROPERTIES FIXTURES_REQUIRED uno_tests_report)
  endif()
endforeach()
