# 32-bit Windows with Debian's mingw-w64 (posix threads: GoogleTest needs them). The tests run
# under Wine: wine-run.sh beside this file (in a source tree scripts/wine-run.sh), with a prefix
# in the build folder, unless CMAKE_CROSSCOMPILING_EMULATOR names another.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(PLOVIK_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${PLOVIK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PLOVIK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PLOVIK_MINGW_PREFIX}-windres)
set(CMAKE_OBJDUMP ${PLOVIK_MINGW_PREFIX}-objdump CACHE FILEPATH "objdump of the target")
set(CMAKE_NM ${PLOVIK_MINGW_PREFIX}-nm CACHE FILEPATH "nm of the target")

set(CMAKE_FIND_ROOT_PATH /usr/${PLOVIK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# CMake packages anywhere, so that an installed kit is found where CMAKE_PREFIX_PATH says; a
# package built for another pointer size refuses itself.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    foreach(script ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh
                   ${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run.sh)
        if(EXISTS ${script})
            get_filename_component(script ${script} REALPATH)
            set(CMAKE_CROSSCOMPILING_EMULATOR ${script} ${CMAKE_BINARY_DIR}/wineprefix)
            break()
        endif()
    endforeach()
endif()
