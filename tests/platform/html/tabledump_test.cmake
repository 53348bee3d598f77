# Runs tabledump over our HTML test files and compares its output with what the HTML oracle
# (headless Chromium) printed for them: NAME.expected.txt (--text) and NAME.json.
# Called with -DTABLEDUMP=<tool> -DCASES=<names separated by commas>, in the data folder.
string(REPLACE "," ";" cases "${CASES}")

function(expect_output description expected_output expected_status)
  execute_process(COMMAND ${TABLEDUMP} ${ARGN}
    OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status STREQUAL expected_status)
    message(SEND_ERROR "${description}: exit status ${status}, expected ${expected_status}\n${errors}")
  elseif(NOT output STREQUAL expected_output)
    message(SEND_ERROR "${description}: output differs from the oracle's\n${output}")
  endif()
endfunction()

set(all_lines "")
set(all_json "")
foreach(case IN LISTS cases)
  file(READ "${case}.expected.txt" lines)
  file(READ "${case}.json" json)
  expect_output("${case} --text" "${lines}" 0 --text "${case}.html")
  expect_output("${case}" "${json}" 0 "${case}.html")
  string(APPEND all_lines "### ${case}.html\n${lines}")
  string(APPEND all_json "${json}")
  list(APPEND files "${case}.html")
endforeach()

# Several files: a separator line before each file's lines; a file that cannot be read is
# reported and the others are still printed.
expect_output("all files --text" "${all_lines}" 0 --text ${files})
expect_output("all files" "${all_json}" 0 ${files})
expect_output("a missing file" "${all_json}" 1 ${files} no-such-file.html)
expect_output("no file" "" 2)
expect_output("an unknown option" "" 2 --pretty ${files})
