# Runs the demo once and checks the run: its exit code, its output and, when asked, its
# screenshot through png_check. The demo's arguments follow "--".
#   cmake -DDEMO=demo [-DRUNNER=wine-run.sh] [-DEXIT=2] [-DOUTPUT=regex] [-DDISPLAY=:99]
#         [-DCHECKER=png_check -DCHECK="shot.png 320 240 overlay"] -P run_demo.cmake -- ARGS...
if(NOT DEFINED EXIT)
  set(EXIT 0)
endif()
if(DEFINED DISPLAY)
  set(ENV{DISPLAY} "${DISPLAY}")
endif()

set(arguments)
set(after_separator FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(index RANGE ${last})
  if(after_separator)
    list(APPEND arguments "${CMAKE_ARGV${index}}")
  elseif("${CMAKE_ARGV${index}}" STREQUAL "--")
    set(after_separator TRUE)
  endif()
endforeach()

execute_process(COMMAND ${RUNNER} ${DEMO} ${arguments}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
message("demo ${arguments}\n-> exit ${result}\n${output}${errors}")
if(NOT "${result}" STREQUAL "${EXIT}")
  message(FATAL_ERROR "the demo exited with ${result}, expected ${EXIT}")
endif()
if(DEFINED OUTPUT AND NOT "${output}${errors}" MATCHES "${OUTPUT}")
  message(FATAL_ERROR "the demo's output does not match: ${OUTPUT}")
endif()

if(DEFINED CHECK)
  separate_arguments(check_arguments UNIX_COMMAND "${CHECK}")
  execute_process(COMMAND ${RUNNER} ${CHECKER} ${check_arguments} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the screenshot fails its check")
  endif()
endif()
