# Runs each benchmark program given in PROGRAMS (separated by "|") once with a minimal measuring
# time; fails when one exits with an error (an unknown flag, a benchmark that failed, none run).
string(REPLACE "|" ";" programs "${PROGRAMS}")
if(NOT programs)
  message(FATAL_ERROR "no benchmark programs given")
endif()
foreach(program IN LISTS programs)
  message(STATUS "running ${program}")
  execute_process(COMMAND "${program}" --benchmark_min_time=0.01 RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${program} failed: ${status}")
  endif()
endforeach()
