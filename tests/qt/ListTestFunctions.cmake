# Run after a QTest binary is built: asks it for its test functions (-functions) and
# writes one CTest entry per function to OUTPUT, each running that function alone, and
# their names to the list qt_test_names. What the binary reports is what runs: no test
# function can be left out of CTest.
#
#   cmake -DBINARY=<test binary> -DPREFIX=<name prefix> -DOUTPUT=<file> -P ListTestFunctions.cmake
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${BINARY} -functions
    OUTPUT_VARIABLE listing
    ERROR_VARIABLE errors
    RESULT_VARIABLE status)
string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*\\(\\)" functions "${listing}")
if(NOT status EQUAL 0 OR NOT functions)
    message(FATAL_ERROR "${BINARY} -functions listed no test functions (exit ${status}):\n"
                        "${listing}${errors}")
endif()
set(entries "")
foreach(function IN LISTS functions)
    string(REPLACE "()" "" name "${function}")
    string(APPEND entries "add_test([=[${PREFIX}${name}]=] [=[${BINARY}]=] [=[${name}]=])\n"
                          "list(APPEND qt_test_names [=[${PREFIX}${name}]=])\n")
endforeach()
file(WRITE ${OUTPUT} "${entries}")
