# plovik_find_googletest(): GoogleTest and GoogleMock (GTest::gtest, GTest::gmock,
# GTest::gtest_main) for tests on the substitute host, once per build: the system's libraries
# natively; for a cross-compiled target built from a source tree, PLOVIK_GOOGLETEST_SOURCE
# (Debian's googletest package by default). Without them nothing is defined and
# PLOVIK_GOOGLETEST_FOUND is false.
include_guard(GLOBAL)

macro(plovik_find_googletest)
    if(NOT TARGET GTest::gtest)
        if(CMAKE_CROSSCOMPILING)
            set(PLOVIK_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
            if(EXISTS ${PLOVIK_GOOGLETEST_SOURCE}/CMakeLists.txt)
                set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
                set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
                add_subdirectory(${PLOVIK_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest
                                 EXCLUDE_FROM_ALL SYSTEM)
            endif()
        else()
            find_package(GTest QUIET)
        endif()
    endif()
    if(TARGET GTest::gtest)
        set(PLOVIK_GOOGLETEST_FOUND TRUE)
    else()
        set(PLOVIK_GOOGLETEST_FOUND FALSE)
    endif()
endmacro()
