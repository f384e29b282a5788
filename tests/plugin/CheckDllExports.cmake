# Fails unless the DLL's export table names exactly the four entry points, undecorated, and it
# imports nothing but system DLLs and the project's own (no compiler runtime beside it):
# cmake -DOBJDUMP=<objdump> -DLIBRARY=<file> -P CheckDllExports.cmake
cmake_policy(VERSION 3.20)
execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE output RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} failed on ${LIBRARY}: ${status}")
endif()

# "[Ordinal/Name Pointer] Table" then one "\t[   n] name" line per export, then a blank line.
string(FIND "${output}" "[Ordinal/Name Pointer] Table\n" start)
if(start LESS 0)
    message(FATAL_ERROR "${LIBRARY} exports nothing")
endif()
string(SUBSTRING "${output}" ${start} -1 table)
string(FIND "${table}" "\n\n" end)
string(SUBSTRING "${table}" 0 ${end} table)
string(REGEX MATCHALL "\\[ *[0-9]+\\] [^\n]+" names "${table}")
list(TRANSFORM names REPLACE "^\\[ *[0-9]+\\] " "")
list(SORT names)
set(expected "GetDLLName;GetInfo;GetName;Initialize")
if(NOT names STREQUAL expected)
    message(FATAL_ERROR "exported: ${names}\nexpected: ${expected}")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${output}")
list(TRANSFORM imports REPLACE "^DLL Name: " "")
list(TRANSFORM imports TOLOWER)
set(allowed "kernel32.dll;user32.dll;msvcrt.dll;advapi32.dll;comctl32.dll;gdi32.dll"
            "dovrelapiu.dll;ambrel_platform.dll;pfconfig.dll")
list(JOIN allowed ";" allowed)
foreach(dll IN LISTS imports)
    if(NOT dll IN_LIST allowed)
        message(FATAL_ERROR "imports ${dll}, which would have to lie beside it")
    endif()
endforeach()
