# plovik_add_plugin(<target>
#     NAME <product name> VERSION <major[.minor[.patch[.build]]]> DESCRIPTION <file description>
#     [COPYRIGHT <text>] [OUTPUT_NAME <file name>]
#     SOURCES <file>...     the command table (kPlovikPluginCommands, PlovikPlugin.h) and commands
#     [TESTS <file>...]     GoogleTest sources, run on the substitute host (Plovik::testhost)
#     [LINK <library>...]   further libraries of the commands
#     [IMPORTS <DLL>...]    DLLs of the system the Windows DLL may import besides KERNEL32.DLL,
#                           MSVCRT.DLL and USER32.DLL
#     [NO_VALIDATE])        no test runs plovik-validate on the module
#
# Makes the targets
#   <target>_commands  the sources (an object library) with the kit's entry points
#   <target>           the plug-in module OUTPUT_NAME (default: NAME without its spaces). On
#                      Windows the DLL Finale loads: exactly the six entry points exported under
#                      their plain names, the version resource made from NAME, VERSION,
#                      DESCRIPTION and COPYRIGHT, no time stamp, no path of the build, the C and
#                      C++ runtimes linked in. Elsewhere the module the substitute host loads.
#   <target>_tests     with TESTS: the tests with <target>_commands, Plovik::testhost and
#                      GoogleTest's main (on Windows a FINALE.EXE exporting the host's services);
#                      PLOVIK_PLUGIN_FILE names the module for them
# and the CTest tests <target>_tests, <target>_validate (plovik-validate on the module; on
# Windows <target>_load_unload with Wine's heap checks besides), and on Windows
# <target>_exports (exports and imports) and <target>_reproducible (no time stamp or build path).
include_guard(GLOBAL)

include(${CMAKE_CURRENT_LIST_DIR}/PlovikGoogleTest.cmake)

# Compile and link options that make the same sources give the same Windows module in any
# folder: the debug information and __FILE__ name every file relative to the build folder,
# whether the compiler was handed an absolute path or (through a compiler cache) a relative one,
# and the linker stamps no time.
function(plovik_reproducible_options source_dir binary_dir compile_var link_var)
    file(RELATIVE_PATH from_build ${binary_dir} ${source_dir})
    string(REGEX REPLACE "/$" "" from_build "${from_build}")
    if(NOT from_build)
        set(from_build .)
    endif()
    # The compiler tries the last map first: the build folder may lie inside the source folder.
    set(${compile_var}
        "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${source_dir}=${from_build}>"
        "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${binary_dir}=.>" PARENT_SCOPE)
    set(${link_var} "LINKER:--no-insert-timestamp" PARENT_SCOPE)
endfunction()

# A text of the version resource, as a string of the resource script.
function(_plovik_rc_text keyword text out)
    if(NOT text MATCHES "^[ -~]*$")
        message(FATAL_ERROR "plovik_add_plugin: ${keyword} \"${text}\": only printable ASCII "
                            "goes into the version resource")
    endif()
    string(REPLACE "\\" "\\\\" text "${text}")
    string(REPLACE "\"" "\"\"" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(plovik_add_plugin target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "NO_VALIDATE"
                          "NAME;VERSION;DESCRIPTION;COPYRIGHT;OUTPUT_NAME"
                          "SOURCES;TESTS;LINK;IMPORTS")
    if(arg_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "plovik_add_plugin(${target}): unknown arguments ${arg_UNPARSED_ARGUMENTS}")
    endif()
    if(NOT target MATCHES "^[A-Za-z][A-Za-z0-9_-]*$")
        message(FATAL_ERROR "plovik_add_plugin: \"${target}\" is no target name "
                            "(a letter, then letters, digits, _ and -)")
    endif()
    foreach(required NAME VERSION DESCRIPTION SOURCES)
        if(NOT arg_${required})
            message(FATAL_ERROR "plovik_add_plugin(${target}): ${required} is missing")
        endif()
    endforeach()
    if(NOT arg_VERSION MATCHES "^[0-9]+(\\.[0-9]+)?(\\.[0-9]+)?(\\.[0-9]+)?$")
        message(FATAL_ERROR "plovik_add_plugin(${target}): VERSION ${arg_VERSION} is not "
                            "one to four numbers separated by dots")
    endif()
    string(REPLACE "." ";" numbers "${arg_VERSION}")
    foreach(number IN LISTS numbers)
        if(number GREATER 65535)
            message(FATAL_ERROR "plovik_add_plugin(${target}): VERSION ${arg_VERSION}: a number "
                                "of a Windows version is at most 65535")
        endif()
    endforeach()
    list(LENGTH numbers count)
    while(count LESS 4)
        list(APPEND numbers 0)
        math(EXPR count "${count} + 1")
    endwhile()
    if(NOT arg_OUTPUT_NAME)
        string(REGEX REPLACE "[^A-Za-z0-9_-]" "" arg_OUTPUT_NAME "${arg_NAME}")
    endif()
    if(NOT arg_OUTPUT_NAME MATCHES "^[A-Za-z0-9_-]+$")
        message(FATAL_ERROR "plovik_add_plugin(${target}): OUTPUT_NAME \"${arg_OUTPUT_NAME}\" "
                            "is no file name of letters, digits, _ and -")
    endif()
    set(kit ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
    set(entry_points FinaleExtensionVersion FinaleExtensionInit FinaleExtensionEnumerate
                     FinaleExtensionGetMenuStatus FinaleExtensionInvoke FinaleExtensionTerminate)

    add_library(${target}_commands OBJECT ${arg_SOURCES})
    target_link_libraries(${target}_commands PUBLIC Plovik::pluginkit ${arg_LINK})
    set_target_properties(${target}_commands PROPERTIES POSITION_INDEPENDENT_CODE ON)

    add_library(${target} MODULE)
    target_link_libraries(${target} PRIVATE ${target}_commands)
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${arg_OUTPUT_NAME})
    if(WIN32)
        list(JOIN numbers "," PLOVIK_RC_VERSION)
        _plovik_rc_text(NAME "${arg_NAME}" PLOVIK_RC_NAME)
        _plovik_rc_text(DESCRIPTION "${arg_DESCRIPTION}" PLOVIK_RC_DESCRIPTION)
        set(PLOVIK_RC_COPYRIGHT_VALUE "")
        if(arg_COPYRIGHT)
            _plovik_rc_text(COPYRIGHT "${arg_COPYRIGHT}" copyright)
            set(PLOVIK_RC_COPYRIGHT_VALUE "            VALUE \"LegalCopyright\", \"${copyright}\"")
        endif()
        set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
        configure_file(${kit}/PlovikPlugin.rc.in ${rc} @ONLY)
        target_sources(${target} PRIVATE ${rc} ${kit}/PlovikPlugin.def)
        plovik_reproducible_options(${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR} compile link)
        target_compile_options(${target}_commands PRIVATE ${compile})
        # The runtimes linked in (no libgcc, libstdc++ or winpthread DLL beside the plug-in); the
        # exports under their plain names, without the @N of __stdcall; no debug information,
        # which would name the compiler's headers and libraries by absolute paths. The symbols
        # stay: the export check reads the entry points' argument bytes from them.
        target_link_options(${target} PRIVATE -static "LINKER:--kill-at" "LINKER:--strip-debug"
                                              ${link})
    else()
        # Exactly the six entry points leave the module; the Windows calls come from the host
        # process. Each is asked for by name, so that the kit's library hands it over.
        set(keep ${entry_points})
        list(TRANSFORM keep PREPEND "LINKER:--undefined=")
        target_link_options(${target} PRIVATE "LINKER:--version-script=${kit}/PlovikPlugin.map"
                                              ${keep})
        set_target_properties(${target} PROPERTIES LINK_DEPENDS ${kit}/PlovikPlugin.map)
    endif()

    if(CMAKE_CROSSCOMPILING)
        set(emulator ${CMAKE_CROSSCOMPILING_EMULATOR})
    else()
        set(emulator "")
    endif()
    if(arg_TESTS)
        plovik_find_googletest()
        if(NOT PLOVIK_GOOGLETEST_FOUND)
            message(FATAL_ERROR "plovik_add_plugin(${target}): TESTS need GoogleTest (natively "
                                "its CMake package; cross-compiled its source tree, "
                                "PLOVIK_GOOGLETEST_SOURCE)")
        endif()
        add_executable(${target}_tests ${arg_TESTS})
        target_link_libraries(${target}_tests PRIVATE ${target}_commands Plovik::testhost
                                                      GTest::gmock GTest::gtest_main)
        target_compile_definitions(${target}_tests PRIVATE
                                   PLOVIK_PLUGIN_FILE="$<TARGET_FILE:${target}>")
        add_dependencies(${target}_tests ${target})
        if(WIN32)
            # The test program is the host module: it exports the services, so the framework
            # finds them with the system's GetModuleHandleA("FINALE.EXE") and GetProcAddress.
            target_link_options(${target}_tests PRIVATE -static)
            set_target_properties(${target}_tests PROPERTIES
                OUTPUT_NAME FINALE SUFFIX .EXE
                RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${target}_tests)
        else()
            # A module it loads takes its Windows calls from this process.
            set_target_properties(${target}_tests PROPERTIES ENABLE_EXPORTS ON)
        endif()
        add_test(NAME ${target}_tests COMMAND ${target}_tests)
    endif()

    if(NOT arg_NO_VALIDATE)
        set(validate ${emulator} $<TARGET_FILE:Plovik::validator> --plugin $<TARGET_FILE:${target}>)
        if(WIN32)
            # The thousand loads and unloads apart, with Wine's heap checks on.
            add_test(NAME ${target}_validate COMMAND ${validate} --skip load-unload)
            add_test(NAME ${target}_load_unload COMMAND ${validate} --check load-unload)
            set_tests_properties(${target}_load_unload PROPERTIES
                ENVIRONMENT WINEDEBUG=warn+heap FAIL_REGULAR_EXPRESSION "(err|warn):heap")
        else()
            add_test(NAME ${target}_validate COMMAND ${validate})
        endif()
    endif()
    if(WIN32)
        list(TRANSFORM arg_IMPORTS TOUPPER)
        list(JOIN arg_IMPORTS "|" imports)
        add_test(NAME ${target}_exports
                 COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DNM=${CMAKE_NM}
                         -DMODULE=$<TARGET_FILE:${target}> "-DIMPORTS=${imports}"
                         -P ${kit}/CheckPluginDll.cmake)
        add_test(NAME ${target}_reproducible
                 COMMAND ${CMAKE_COMMAND} -DMODULE=$<TARGET_FILE:${target}>
                         "-DFOLDERS=${PROJECT_SOURCE_DIR}|${PROJECT_BINARY_DIR}|/usr/|/build/"
                         -P ${kit}/CheckReproducibleDll.cmake)
    endif()
endfunction()
