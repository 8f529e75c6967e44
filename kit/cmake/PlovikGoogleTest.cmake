# GoogleTest and GoogleMock: the system's libraries natively; built from the system's source tree
# (Debian's googletest package) for a cross-compiled target.
if(CMAKE_CROSSCOMPILING)
    set(PLOVIK_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest source tree")
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(${PLOVIK_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
    find_package(GTest REQUIRED)
endif()
