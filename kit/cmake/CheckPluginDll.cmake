# A plug-in DLL as the host sees it
# (cmake -DOBJDUMP=... -DNM=... -DMODULE=<dll> [-DIMPORTS=A.DLL|B.DLL] -P):
# - it exports the entry points it defines and nothing else, under their plain names;
# - each is __stdcall with 32-bit arguments (the @N of its symbol: 4 bytes per argument);
# - those are the six entry points of a plug-in, all of them;
# - it needs no DLL beyond the system's (the C and C++ runtimes are linked in): KERNEL32.DLL,
#   MSVCRT.DLL, USER32.DLL and those IMPORTS names.
cmake_minimum_required(VERSION 3.25)

set(entry_points FinaleExtensionVersion@4 FinaleExtensionInit@8 FinaleExtensionEnumerate@12
                 FinaleExtensionGetMenuStatus@4 FinaleExtensionInvoke@16
                 FinaleExtensionTerminate@4)
set(always ${entry_points})
list(TRANSFORM always REPLACE "@[0-9]+$" "")
set(system_dlls KERNEL32.DLL MSVCRT.DLL USER32.DLL)
string(REPLACE "|" ";" more "${IMPORTS}")
string(TOUPPER "${more}" more)
list(APPEND system_dlls ${more})

set(failures "")
execute_process(COMMAND ${OBJDUMP} -p ${MODULE} OUTPUT_VARIABLE headers RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p ${MODULE} failed")
endif()
execute_process(COMMAND ${NM} ${MODULE} OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${NM} ${MODULE} failed")
endif()

# Exported names: the lines "[   n] Name" after "[Ordinal/Name Pointer] Table".
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table\n(([ \t]+\\[ *[0-9]+\\] [^\n]+\n)*)" _ "${headers}")
string(REGEX REPLACE "[ \t]+\\[ *[0-9]+\\] ([^\n]+)\n" "\\1;" exports "${CMAKE_MATCH_1}")
list(REMOVE_ITEM exports "")

# Entry points the DLL defines, with their argument bytes.
string(REGEX MATCHALL " T _FinaleExtension[A-Za-z]+@[0-9]+" defined "${symbols}")
list(TRANSFORM defined REPLACE " T _" "")
set(defined_names ${defined})
list(TRANSFORM defined_names REPLACE "@[0-9]+$" "")

foreach(symbol IN LISTS defined)
    if(NOT symbol IN_LIST entry_points)
        list(APPEND failures "defines ${symbol}: not an entry point with 32-bit arguments")
    endif()
endforeach()
foreach(name IN LISTS always)
    if(NOT name IN_LIST defined_names)
        list(APPEND failures "lacks the entry point ${name}")
    endif()
endforeach()
foreach(name IN LISTS exports)
    if(NOT name IN_LIST defined_names)
        list(APPEND failures "exports ${name}, which is no entry point")
    endif()
endforeach()
foreach(name IN LISTS defined_names)
    if(NOT name IN_LIST exports)
        list(APPEND failures "does not export ${name} under its plain name")
    endif()
endforeach()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
list(TRANSFORM imports REPLACE "DLL Name: " "")
foreach(dll IN LISTS imports)
    string(TOUPPER "${dll}" upper)
    if(NOT upper IN_LIST system_dlls)
        list(APPEND failures "needs ${dll}, which is not part of the system")
    endif()
endforeach()

list(JOIN exports ", " shown)
message(STATUS "exports: ${shown}")
list(JOIN imports ", " shown)
message(STATUS "imports from: ${shown}")
if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "${MODULE}:\n  ${text}")
endif()
