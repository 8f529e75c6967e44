# The plug-in template built as a developer builds it, outside this tree
# (cmake -DTEMPLATE=<folder> -DWORK=<dir> [-DPREFIX=<kit prefix> | -DSOURCE=<kit sources>]
#  [-DTOOLCHAIN=<file>] [-DEMULATOR=a|b] [-DFLAGS=<compiler and linker flags>]
#  [-DTARGETS=a|b] [-DRUN_TESTS=OFF] -P):
# the folder is copied to a path with a space in it, configured against the installed kit
# (find_package) or a source checkout (add_subdirectory), built, and its tests run: the command
# on the substitute host, its validation, on Windows its DLL's exports (under Wine).
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
set(source "${WORK}/my plug-in")
set(build "${WORK}/my plug-in/build")
file(COPY ${TEMPLATE}/ DESTINATION ${source} PATTERN build EXCLUDE)

set(configure ${CMAKE_COMMAND} -S ${source} -B ${build} -G Ninja -DCMAKE_BUILD_TYPE=Debug)
if(PREFIX)
    list(APPEND configure -DCMAKE_PREFIX_PATH=${PREFIX})
endif()
if(SOURCE)
    list(APPEND configure -DPLOVIK_SOURCE_DIR=${SOURCE})
endif()
if(TOOLCHAIN)
    list(APPEND configure -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN})
endif()
if(EMULATOR)
    # A list (the program and its first arguments), handed over in an initial cache.
    string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
    file(WRITE ${WORK}/emulator.cmake
         "set(CMAKE_CROSSCOMPILING_EMULATOR \"${EMULATOR}\" CACHE STRING \"\")\n")
    list(APPEND configure -C ${WORK}/emulator.cmake)
endif()
if(FLAGS)
    list(APPEND configure "-DCMAKE_CXX_FLAGS=${FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${FLAGS}"
         "-DCMAKE_MODULE_LINKER_FLAGS=${FLAGS}")
endif()

function(step what)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "the template: ${what} failed")
    endif()
endfunction()

step("configuring" ${configure})
set(build_command ${CMAKE_COMMAND} --build ${build})
if(TARGETS)
    string(REPLACE "|" ";" TARGETS "${TARGETS}")
    list(APPEND build_command --target ${TARGETS})
endif()
step("building" ${build_command})
if(NOT RUN_TESTS STREQUAL "OFF")
    step("testing" ${CMAKE_CTEST_COMMAND} --test-dir ${build} --output-on-failure)
endif()
