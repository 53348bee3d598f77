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

# The oracle gives a table's columnCount as its last row's cell count; the store keeps the
# widest row's. The oracle's JSON gets that count from its own rows, and is then compared as
# JSON with what tabledump prints.
function(with_widest_rows json result)
  string(JSON table_count LENGTH "${json}" tables)
  if(table_count GREATER 0)
    math(EXPR last_table "${table_count} - 1")
    foreach(table RANGE ${last_table})
      string(JSON row_count LENGTH "${json}" tables ${table} rows)
      set(widest 0)
      if(row_count GREATER 0)
        math(EXPR last_row "${row_count} - 1")
        foreach(row RANGE ${last_row})
          string(JSON cells LENGTH "${json}" tables ${table} rows ${row})
          if(cells GREATER widest)
            set(widest ${cells})
          endif()
        endforeach()
      endif()
      string(JSON json SET "${json}" tables ${table} columnCount ${widest})
    endforeach()
  endif()
  set(${result} "${json}" PARENT_SCOPE)
endfunction()

set(all_lines "")
set(all_json "")
foreach(case IN LISTS cases)
  file(READ "${case}.expected.txt" lines)
  file(READ "${case}.json" oracle_json)
  expect_output("${case} --text" "${lines}" 0 --text "${case}.html")
  execute_process(COMMAND ${TABLEDUMP} "${case}.html" OUTPUT_VARIABLE json RESULT_VARIABLE status)
  with_widest_rows("${oracle_json}" expected_json)
  string(JSON same EQUAL "${json}" "${expected_json}")
  if(NOT status EQUAL 0 OR NOT same)
    message(SEND_ERROR "${case}: output differs from the oracle's\n${json}")
  endif()
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
