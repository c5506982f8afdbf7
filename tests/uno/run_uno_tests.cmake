# Runs the LibreOffice test program once, so that one office serves all its
# cases, and keeps GoogleTest's XML report for the ctest entry of each case
# (uno_cases.cmake), which passes or fails with its case. This run fails
# only when the program left no report: it crashed or was stopped.
#   cmake -DPROGRAM=uno_tests -DRESULTS=report.xml -P run_uno_tests.cmake
file(REMOVE ${RESULTS})
execute_process(COMMAND ${PROGRAM} --gtest_output=xml:${RESULTS} RESULT_VARIABLE status)
if(NOT EXISTS ${RESULTS})
  message(FATAL_ERROR "${PROGRAM} ended without its report (${status}); the last case it started is above")
endif()
