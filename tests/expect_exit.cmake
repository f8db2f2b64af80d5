# Runs PROGRAM with ARGUMENTS, each a "|"-separated list (empty entries, such as
# a native build's empty emulator, dropped), and fails unless it exits with
# STATUS and what it printed, standard output then standard error, matches the
# regular expression OUTPUT.
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" command "${PROGRAM}|${ARGUMENTS}")
list(FILTER command EXCLUDE REGEX "^$")
execute_process(COMMAND ${command} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
if(NOT "${status}" STREQUAL "${STATUS}")
  message(FATAL_ERROR "exit status ${status}, want ${STATUS}")
endif()
if(NOT "${out}${err}" MATCHES "${OUTPUT}")
  message(FATAL_ERROR "the output does not match: ${OUTPUT}")
endif()
