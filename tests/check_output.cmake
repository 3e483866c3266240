cmake_minimum_required(VERSION 3.25)
# Runs PROGRAM with ARGS and checks its exit status and, where given, that its standard
# output equals a file's text (EXPECT_OUTPUT) or its standard error starts with one
# (EXPECT_STDERR: messages may go on with a system's own words).
execute_process(COMMAND ${PROGRAM} ${ARGS} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL EXPECT_STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${EXPECT_STATUS}\nstdout:\n${out}\nstderr:\n${err}")
endif()
foreach(pair IN ITEMS "EXPECT_OUTPUT;out" "EXPECT_STDERR;err")
  list(GET pair 0 file_var)
  list(GET pair 1 text_var)
  if(DEFINED ${file_var})
    file(READ ${${file_var}} expected)
    # Paths in messages are printed as given; compare from the file name on.
    string(REGEX REPLACE "[^\n]*/scenarios/" "scenarios/" actual "${${text_var}}")
    if(file_var STREQUAL "EXPECT_STDERR")
      string(LENGTH "${expected}" n)
      string(SUBSTRING "${actual}" 0 ${n} actual)
    endif()
    if(NOT actual STREQUAL expected)
      message(FATAL_ERROR "output differs.\n--- expected:\n${expected}\n--- got:\n${actual}")
    endif()
  endif()
endforeach()
