# The kit installed afresh (cmake -DBUILD=<build folder> -DPREFIX=<prefix> -P): what
# `cmake --install BUILD --component kit` puts into an empty prefix.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --component kit --prefix ${PREFIX}
                OUTPUT_QUIET RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "installing the kit from ${BUILD} failed")
endif()
