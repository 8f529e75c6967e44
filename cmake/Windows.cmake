# 32-bit Windows: the plug-in and every program stand alone, needing no DLL beyond the system's
# (no libstdc++, libgcc or winpthread DLLs next to them), and every module is reproducible: the
# same sources give the same bytes in any folder (plovik_reproducible_options).
add_link_options(-static)
plovik_reproducible_options(${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR} PLOVIK_COMPILE PLOVIK_LINK)
add_compile_options(${PLOVIK_COMPILE})
add_link_options(${PLOVIK_LINK})
