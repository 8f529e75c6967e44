# plovik_generate_host_exports(TABLE OUTPUT): writes OUTPUT, a source that makes the program it
# is linked into export every service of TABLE (host/ServiceTable.cpp) under its plain FX_ name
# (see host/HostExports.h). The rows are read when CMake configures, and a change to TABLE
# configures again, so a new row is exported without further work. A row is
# HOST_SERVICE(FX_Name, function), on one line or wrapped.
function(plovik_generate_host_exports table output)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${table})
    file(READ ${table} source)
    set(ws "[ \t\r\n]*")
    set(row "HOST_SERVICE\\(${ws}(FX_[A-Za-z0-9_]+)${ws},${ws}([A-Za-z0-9_:]+)${ws}\\)")
    string(REGEX MATCHALL "${row}" rows "${source}")
    if(NOT rows)
        message(FATAL_ERROR "${table}: no HOST_SERVICE rows found")
    endif()
    set(lines "")
    foreach(match IN LISTS rows)
        string(REGEX REPLACE "${row}" "PLOVIK_HOST_EXPORT(\\1, \\2)" line "${match}")
        string(APPEND lines "${line}\n")
    endforeach()
    file(CONFIGURE OUTPUT ${output} @ONLY CONTENT
"// Generated from host/ServiceTable.cpp by cmake/HostExports.cmake; do not edit.
#include \"HostExports.h\"

namespace plovikhost {
${lines}}  // namespace plovikhost

// A program that refers to this takes the exports with it from a library.
extern \"C\" const int plovik_host_exports_anchor = 1;
")
endfunction()
