# Runs one Windows program under Wine in the tests' prefix; fails with its output when it fails.
# -DWINE= -DWINEPREFIX= -DPROGRAM= -DARGS=a;b;c
function(run_wine)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "WINEPREFIX=${WINEPREFIX}" WINEDEBUG=-all
            "WINEDLLOVERRIDES=mscoree,mshtml=" --unset=DISPLAY "${WINE}" ${ARGN}
    INPUT_FILE /dev/null RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err
    TIMEOUT 240)
  message("${out}${err}")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN}: exit status ${result}")
  endif()
endfunction()

if(PROGRAM)
  run_wine("${PROGRAM}" ${ARGS})
endif()
