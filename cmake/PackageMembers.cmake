# Run by CPack once the archive is made: writes it again so that the same files give the same
# bytes. CPack adds the staged files in the order the file system lists them and records when
# they were copied; here the members come in the order of CPACK_PLOVIK_MEMBERS and carry one
# time (modification, access, change), taken from SOURCE_DATE_EPOCH, else from the last commit,
# else a fixed day, and written as UTC.
cmake_minimum_required(VERSION 3.25)

file(GLOB staged RELATIVE ${CPACK_TEMPORARY_DIRECTORY} ${CPACK_TEMPORARY_DIRECTORY}/*)
list(SORT staged)
set(expected ${CPACK_PLOVIK_MEMBERS})
list(SORT expected)
if(NOT staged STREQUAL expected)
    list(JOIN staged ", " staged)
    list(JOIN expected ", " expected)
    message(FATAL_ERROR "package: staged ${staged}; expected ${expected}")
endif()

set(epoch "$ENV{SOURCE_DATE_EPOCH}")
if(NOT epoch MATCHES "^[0-9]+$")
    execute_process(COMMAND git -C ${CPACK_PLOVIK_SOURCE_DIR} log -1 --format=%ct
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE rc ERROR_QUIET)
    if(NOT rc EQUAL 0 OR NOT epoch MATCHES "^[0-9]+$")
        set(epoch 946684800)  # 2000-01-01
    endif()
endif()

foreach(package IN LISTS CPACK_PACKAGE_FILES)
    file(REMOVE ${package})
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env TZ=UTC SOURCE_DATE_EPOCH=${epoch}
                ${CMAKE_COMMAND} -E tar cf ${package} --format=zip -- ${CPACK_PLOVIK_MEMBERS}
        WORKING_DIRECTORY ${CPACK_TEMPORARY_DIRECTORY} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "package: could not write ${package}")
    endif()
endforeach()
