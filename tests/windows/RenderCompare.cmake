# The Windows renderer with the Windows module against the Linux renderer with the Linux module,
# for the same file and settings: the factory preset, "High Gain Init", and a .vstpreset saved
# by the Linux module loaded into the Windows one. Outputs must agree within 1e-6 (the designs
# call the C library's sin, cos, exp and pow, whose last bits glibc and the Windows runtime may
# round differently); korvessa-wintest also says whether they are bit-exact.
include("${CMAKE_CURRENT_LIST_DIR}/RunWine.cmake")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
run_wine("${WINTEST}" tone "Z:${WORK}/in.wav")

function(run_linux)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  message("${out}${err}")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN}: exit status ${result}")
  endif()
endfunction()

# name, Linux renderer's options, Windows renderer's options ('|' between words).
set(cases factory "--preset|Factory Preset" "--preset|Factory Preset"
          highgain "--preset|High Gain Init" "--preset|High Gain Init"
          linuxstate "--preset|KT Solo" "--state|Z:${LINUXPRESETS}/KT Solo.vstpreset")
list(LENGTH cases count)
math(EXPR last "${count} - 1")
foreach(i RANGE 0 ${last} 3)
  math(EXPR j "${i} + 1")
  math(EXPR k "${i} + 2")
  list(GET cases ${i} name)
  list(GET cases ${j} linux_args)
  list(GET cases ${k} windows_args)
  string(REPLACE "|" ";" linux_args "${linux_args}")
  string(REPLACE "|" ";" windows_args "${windows_args}")
  message("--- ${name}")
  run_linux("${LINUXRENDER}" "${WORK}/in.wav" "${WORK}/${name}-linux.wav" --tail
            --plugin "${LINUXBUNDLE}" ${linux_args})
  run_wine("${WINRENDER}" "Z:${WORK}/in.wav" "Z:${WORK}/${name}-windows.wav" --tail
           --plugin "Z:${WINBUNDLE}" ${windows_args})
  run_wine("${WINTEST}" compare "Z:${WORK}/${name}-linux.wav" "Z:${WORK}/${name}-windows.wav" 1e-6)
endforeach()
