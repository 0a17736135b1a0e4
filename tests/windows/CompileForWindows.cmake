# Compiles each source for 64-bit Windows (syntax and semantics, no object kept); any error or
# warning fails the check.
foreach(source IN LISTS SOURCES)
  execute_process(
      COMMAND ${COMPILER} -std=c++17 -Wall -Wextra -Werror -fsyntax-only -I${ROOT} ${EXTRA_FLAGS} ${source}
      RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${source} does not compile for Windows:\n${out}${err}")
  endif()
endforeach()
list(LENGTH SOURCES count)
message(STATUS "${count} sources compile for Windows")
