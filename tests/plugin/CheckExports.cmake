# Fails unless the library's dynamic symbol table defines exactly the four entry points, as
# functions: cmake -DNM=<nm> -DLIBRARY=<file> -P CheckExports.cmake
execute_process(COMMAND ${NM} -D --defined-only ${LIBRARY}
                OUTPUT_VARIABLE output RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${LIBRARY}: ${status}")
endif()

string(REGEX MATCHALL "[^\n]+" lines "${output}")
set(found)
foreach(line IN LISTS lines)
    # "<address> <type> <name>"
    if(NOT line MATCHES "^[0-9a-fA-F]* *([A-Za-z]) (.+)$")
        message(FATAL_ERROR "unexpected line from ${NM}: ${line}")
    endif()
    list(APPEND found "${CMAKE_MATCH_2}:${CMAKE_MATCH_1}")
endforeach()
list(SORT found)

set(expected "GetDLLName:T;GetInfo:T;GetName:T;Initialize:T")
if(NOT found STREQUAL expected)
    message(FATAL_ERROR "exported: ${found}\nexpected: ${expected}")
endif()
