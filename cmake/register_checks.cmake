# Writes a ctest file with one test per check that the self-check executable lists.
# Usage: cmake -DEXECUTABLE=<path> -DOUTPUT=<file> -P register_checks.cmake
execute_process(COMMAND "${EXECUTABLE}" --list
  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${EXECUTABLE} --list failed with status ${status}")
endif()
string(REPLACE "\n" ";" names "${listing}")
set(content "")
foreach(name IN LISTS names)
  if(NOT name STREQUAL "")
    string(APPEND content "add_test(\"${name}\" \"${EXECUTABLE}\" --exact \"${name}\")\n")
    string(APPEND content "set_tests_properties(\"${name}\" PROPERTIES LABELS selfcheck)\n")
  endif()
endforeach()
file(WRITE "${OUTPUT}" "${content}")
