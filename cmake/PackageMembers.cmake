# Run by CPack once the archives are made: writes each again so that the same files give the same
# bytes. CPack adds the staged files in the order the file system lists them and records when
# they were copied; here the members come in a fixed order (the Finale users' archive: exactly
# CPACK_PLOVIK_MEMBERS, in that order; the developers': every file, sorted by name) and carry one
# time (modification, access, change), taken from SOURCE_DATE_EPOCH, else from the last commit,
# else a fixed day, and written as UTC.
cmake_minimum_required(VERSION 3.25)

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
    # CPack stages each component in a folder of its own; an archive of a group holds several.
    get_filename_component(stem ${package} NAME_WLE)
    if(stem STREQUAL CPACK_ARCHIVE_FINALE_FILE_NAME)
        set(staged ${CPACK_TEMPORARY_DIRECTORY}/finale)
    elseif(stem STREQUAL CPACK_ARCHIVE_SDK_FILE_NAME)
        set(staged ${CPACK_TEMPORARY_DIRECTORY}/sdk)
        file(REMOVE_RECURSE ${staged})
        foreach(component kit reference)
            file(COPY ${CPACK_TEMPORARY_DIRECTORY}/${component}/ DESTINATION ${staged})
        endforeach()
    else()
        message(FATAL_ERROR "package: ${package} is none of the archives")
    endif()
    file(GLOB_RECURSE members LIST_DIRECTORIES false RELATIVE ${staged} ${staged}/*)
    list(SORT members)
    if(stem STREQUAL CPACK_ARCHIVE_FINALE_FILE_NAME)
        set(expected ${CPACK_PLOVIK_MEMBERS})
        list(SORT expected)
        if(NOT members STREQUAL expected)
            list(JOIN members ", " members)
            list(JOIN expected ", " expected)
            message(FATAL_ERROR "package: staged ${members}; expected ${expected}")
        endif()
        set(members ${CPACK_PLOVIK_MEMBERS})
    endif()
    file(REMOVE ${package})
    execute_process(
        COMMAND ${CMAKE_COMMAND} -E env TZ=UTC SOURCE_DATE_EPOCH=${epoch}
                ${CMAKE_COMMAND} -E tar cf ${package} --format=zip -- ${members}
        WORKING_DIRECTORY ${staged} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "package: could not write ${package}")
    endif()
endforeach()
