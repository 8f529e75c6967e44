# The developers' archive as a developer gets it (cmake -DPACKAGE=<zip> -DKIT=<kit prefix>
# -DFRAMEWORK=<libplovik_framework.a of the build> -DEMULATOR=a|b -DWORK=<dir> -P):
# - it holds exactly the kit as cmake --install puts it (KIT) and the reference;
# - its framework library is the build's (a package of an earlier build fails: make it again);
# - unpacked into a folder with a space in its name, the plug-in template builds against it
#   alone, with the toolchain it carries;
# - a native (64-bit) configure refuses it as a 32-bit package.
# Skipped while there is no package.
cmake_minimum_required(VERSION 3.25)

if(NOT EXISTS "${PACKAGE}")
    message("SKIPPED: no package at ${PACKAGE}")
    return()
endif()
set(failures "")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${PACKAGE} OUTPUT_VARIABLE listed
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${PACKAGE} does not open")
endif()
string(REGEX REPLACE "\n$" "" listed "${listed}")
string(REPLACE "\n" ";" listed "${listed}")
set(reference ${listed})
list(FILTER reference INCLUDE REGEX "^share/doc/PlovikFramework/html/")
list(FILTER listed EXCLUDE REGEX "^share/doc/PlovikFramework/html/")
file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${KIT} ${KIT}/*)
list(SORT installed)
if(NOT listed STREQUAL installed)
    set(missing ${installed})
    list(REMOVE_ITEM missing ${listed})
    set(extra ${listed})
    list(REMOVE_ITEM extra ${installed})
    list(APPEND failures "not the installed kit: lacks ${missing}; has besides ${extra}")
endif()
if(NOT "share/doc/PlovikFramework/html/index.html" IN_LIST reference)
    list(APPEND failures "holds no reference (share/doc/PlovikFramework/html/index.html)")
endif()

set(unpacked "${WORK}/Plovik SDK")
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${unpacked})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${PACKAGE} WORKING_DIRECTORY ${unpacked}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${PACKAGE} does not unpack")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${unpacked}/lib/libplovik_framework.a
                        ${FRAMEWORK} RESULT_VARIABLE differ)
if(differ)
    list(APPEND failures "its framework library is not the build's (a package of an earlier build?)")
endif()
if(failures)
    list(JOIN failures "\n  " text)
    message(FATAL_ERROR "${PACKAGE}:\n  ${text}")
endif()

execute_process(
    COMMAND ${CMAKE_COMMAND} -DTEMPLATE=${unpacked}/share/plovik/plugin-template
            -DWORK=${WORK}/template -DPREFIX=${unpacked}
            -DTOOLCHAIN=${unpacked}/lib/cmake/PlovikFramework/mingw-w64-i686.cmake
            -DEMULATOR=${EMULATOR} -DRUN_TESTS=OFF -P ${CMAKE_CURRENT_LIST_DIR}/CheckTemplate.cmake
    RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${PACKAGE}: the template does not build against it")
endif()

file(WRITE ${WORK}/native/CMakeLists.txt
     "cmake_minimum_required(VERSION 3.25)\nproject(native CXX)\n"
     "find_package(PlovikFramework 1.0 CONFIG REQUIRED)\n")
execute_process(COMMAND ${CMAKE_COMMAND} -S ${WORK}/native -B ${WORK}/native/build
                        -DCMAKE_PREFIX_PATH=${unpacked}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(rc EQUAL 0 OR NOT out MATCHES "32bit")
    message(FATAL_ERROR "${PACKAGE}: a native configure did not refuse it as 32-bit:\n${out}")
endif()
list(LENGTH listed count)
message(STATUS "${PACKAGE}: the kit's ${count} files and the reference; the template builds")
