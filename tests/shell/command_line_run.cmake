# Runs the program as a user would from a shell: --help and --version answer without any
# display, an unknown option is refused on stderr with exit status 2.
# Called with -DPROGRAM=<veltrano> -DVERSION=<version>.

function(expect description status_wanted stdout_wanted stderr_wanted)
  execute_process(COMMAND ${ARGN}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  if(NOT status STREQUAL status_wanted)
    message(SEND_ERROR "${description}: exit status ${status}, expected ${status_wanted}\n${err}")
  endif()
  if(NOT out MATCHES "${stdout_wanted}")
    message(SEND_ERROR "${description}: stdout does not match '${stdout_wanted}':\n${out}")
  endif()
  if(NOT err MATCHES "${stderr_wanted}")
    message(SEND_ERROR "${description}: stderr does not match '${stderr_wanted}':\n${err}")
  endif()
endfunction()

# No display at all: the program must not even try to open one.
set(no_display ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb)
set(offscreen ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen)

expect("--version" 0 "^veltrano ${VERSION}\n$" "^$" ${no_display} ${PROGRAM} --version)
expect("-h" 0 "^Usage: veltrano \\[OPTION\\] \\[FILE1 \\[FILE2\\]\\]\n" "^$"
  ${no_display} ${PROGRAM} -h)
expect("an unknown option" 2 "^$"
  "veltrano: Unknown option 'bogus'.\nTry 'veltrano --help' for more information.\n"
  ${offscreen} ${PROGRAM} --bogus a.htm)
expect("three files" 2 "^$" "at most two files" ${offscreen} ${PROGRAM} a b c)
