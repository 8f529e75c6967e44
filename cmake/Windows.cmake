# 32-bit Windows: the plug-in and every program stand alone, needing no DLL beyond the system's
# (no libstdc++, libgcc or winpthread DLLs next to them).
add_link_options(-static)

# Reproducible modules: the same sources give the same bytes in any folder. The debug information
# names every file relative to the build folder, whether the compiler was handed an absolute path
# or (through a compiler cache) a relative one already, and the linker stamps no time.
file(RELATIVE_PATH PLOVIK_SOURCE_FROM_BUILD ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR})
string(REGEX REPLACE "/$" "" PLOVIK_SOURCE_FROM_BUILD "${PLOVIK_SOURCE_FROM_BUILD}")
if(NOT PLOVIK_SOURCE_FROM_BUILD)
    set(PLOVIK_SOURCE_FROM_BUILD .)
endif()
# The compiler tries the last map first: the build folder may lie inside the source folder.
add_compile_options(
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=${PLOVIK_SOURCE_FROM_BUILD}>"
    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=.>")
add_link_options(-Wl,--no-insert-timestamp)
