# Makes the Wine prefix the Windows tests run in, once, without a window or a question:
# wineboot -i with Mono and Gecko declined, output kept out of the test log unless it fails.
if(EXISTS "${WINEPREFIX}/system.reg")
  return()
endif()
file(MAKE_DIRECTORY "${WINEPREFIX}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env "WINEPREFIX=${WINEPREFIX}" WINEDEBUG=-all
          "WINEDLLOVERRIDES=mscoree,mshtml=" --unset=DISPLAY "${WINE}" wineboot -i
  INPUT_FILE /dev/null RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out
  TIMEOUT 240)
if(NOT result EQUAL 0 OR NOT EXISTS "${WINEPREFIX}/system.reg")
  message(FATAL_ERROR "wineboot -i failed (${result}):\n${out}")
endif()
message(STATUS "Wine prefix ready in ${WINEPREFIX}")
