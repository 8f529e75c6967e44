# The kit as a developer gets it: installed into a prefix of the build (kit_install), its public
# headers each compiled alone with gcc and clang (kit_headers: Linux, not again under the
# sanitizers), the plug-in template configured, built and tested against the installed kit
# (kit_template) and, in a build without sanitizers, against a source checkout added with
# add_subdirectory (kit_template_from_source).
set(PLOVIK_KIT_CHECK ${CMAKE_CURRENT_BINARY_DIR}/kit-check)
add_test(NAME kit_install
         COMMAND ${CMAKE_COMMAND} -DBUILD=${PROJECT_BINARY_DIR} -DPREFIX=${PLOVIK_KIT_CHECK}/prefix
                 -P ${PROJECT_SOURCE_DIR}/cmake/InstallKit.cmake)
set_tests_properties(kit_install PROPERTIES FIXTURES_SETUP kit)

set(PLOVIK_TEMPLATE_CHECK
    -DTEMPLATE=${PLOVIK_KIT_CHECK}/prefix/share/plovik/plugin-template
    -DWORK=${PLOVIK_KIT_CHECK}/template -DPREFIX=${PLOVIK_KIT_CHECK}/prefix)
if(WIN32)
    # The toolchain the kit ships, and the Wine prefix of this build.
    string(REPLACE ";" "|" PLOVIK_EMULATOR "${CMAKE_CROSSCOMPILING_EMULATOR}")
    list(APPEND PLOVIK_TEMPLATE_CHECK
         -DTOOLCHAIN=${PLOVIK_KIT_CHECK}/prefix/lib/cmake/PlovikFramework/mingw-w64-i686.cmake
         -DEMULATOR=${PLOVIK_EMULATOR})
elseif(NOT PLOVIK_SANITIZE)
    add_test(NAME kit_headers
             COMMAND ${CMAKE_COMMAND} -DINCLUDE=${PLOVIK_KIT_CHECK}/prefix/include/plovik
                     "-DCOMPILERS=g++|clang++" -DWORK=${PLOVIK_KIT_CHECK}/headers
                     -P ${PROJECT_SOURCE_DIR}/cmake/CheckHeaders.cmake)
    set_tests_properties(kit_headers PROPERTIES FIXTURES_REQUIRED kit)
else()
    # The kit's libraries hold the sanitizers' calls.
    list(APPEND PLOVIK_TEMPLATE_CHECK
         "-DFLAGS=-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer")
endif()
add_test(NAME kit_template
         COMMAND ${CMAKE_COMMAND} ${PLOVIK_TEMPLATE_CHECK}
                 -P ${PROJECT_SOURCE_DIR}/cmake/CheckTemplate.cmake)
set_tests_properties(kit_template PROPERTIES FIXTURES_REQUIRED kit)

if(NOT PLOVIK_SANITIZE)
    # Only what the plug-in needs is built: the kit's libraries and the module.
    set(PLOVIK_FROM_SOURCE -DTEMPLATE=${PROJECT_SOURCE_DIR}/examples/plugin-template
        -DWORK=${PLOVIK_KIT_CHECK}/template-from-source -DSOURCE=${PROJECT_SOURCE_DIR}
        -DTARGETS=step_up -DRUN_TESTS=OFF)
    if(WIN32)
        list(APPEND PLOVIK_FROM_SOURCE -DTOOLCHAIN=${PROJECT_SOURCE_DIR}/kit/cmake/mingw-w64-i686.cmake)
    endif()
    add_test(NAME kit_template_from_source
             COMMAND ${CMAKE_COMMAND} ${PLOVIK_FROM_SOURCE}
                     -P ${PROJECT_SOURCE_DIR}/cmake/CheckTemplate.cmake)
endif()
