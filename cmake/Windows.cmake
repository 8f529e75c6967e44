# 32-bit Windows: the plug-in and every program stand alone, needing no DLL beyond the system's
# (no libstdc++, libgcc or winpthread DLLs next to them).
add_link_options(-static)
