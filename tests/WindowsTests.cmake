# 32-bit Windows: the test program is itself the host module FINALE.EXE, exporting the
# substitute host's services, so every framework test runs against the system's own look-up.
# CTest runs each program under Wine (CMAKE_CROSSCOMPILING_EMULATOR).
# (The fixture of Plovik::testhost brings the exports with it.)
set_target_properties(plovik_tests PROPERTIES OUTPUT_NAME FINALE SUFFIX .EXE)
target_link_libraries(plovik_tests PRIVATE version)
# The DLLs by their build paths: Wine finds a Unix path through its Z: drive.
target_compile_definitions(plovik_tests PRIVATE PLOVIK_PLUGIN_DLL="$<TARGET_FILE:plovik_tie>"
                                                PLOVIK_STRINGS_DLL="$<TARGET_FILE:plovik_test_strings>")
add_dependencies(plovik_tests plovik_tie plovik_test_strings)

# String resources for FCString::LoadResource: a DLL of them, and the same in the program itself.
set(PLOVIK_TEST_STRINGS ${CMAKE_CURRENT_SOURCE_DIR}/windows/PlovikStrings.rc)
add_library(plovik_test_strings MODULE ${PLOVIK_TEST_STRINGS})
set_target_properties(plovik_test_strings PROPERTIES PREFIX "" OUTPUT_NAME PlovikStrings
                                                     LINKER_LANGUAGE CXX)
target_sources(plovik_tests PRIVATE ${PLOVIK_TEST_STRINGS})

# The second module name of the look-up order: the same program under the name FINDEMO.EXE.
set(PLOVIK_FINDEMO ${CMAKE_CURRENT_BINARY_DIR}/findemo/FINDEMO.EXE)
add_custom_command(TARGET plovik_tests POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:plovik_tests> ${PLOVIK_FINDEMO})
add_test(NAME findemo_lookup
    COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${PLOVIK_FINDEMO} --gtest_filter=WindowsHostModule.*)
set_tests_properties(findemo_lookup PROPERTIES ENVIRONMENT PLOVIK_EXPECTED_MODULE=FINDEMO.EXE
    PASS_REGULAR_EXPRESSION "host module: FINDEMO\\.EXE" FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")

# (The DLL's exports and imports, and what would make two builds of it differ, are checked as
# those of every plug-in of the kit: plovik_tie_exports, plovik_tie_reproducible.)
# The release package, once made (the package target), holds the DLL these tests run.
string(REPLACE ";" "|" PLOVIK_PACKAGE_MEMBERS "${CPACK_PLOVIK_MEMBERS}")
add_test(NAME package_contents
    COMMAND ${CMAKE_COMMAND} -DPACKAGE=${PLOVIK_PACKAGE}
            -DMEMBERS=${PLOVIK_PACKAGE_MEMBERS} -DMODULE=$<TARGET_FILE:plovik_tie>
            -DCOMMANDS=${PROJECT_SOURCE_DIR}/plugin/CommandTable.cpp -DVERSION=${PROJECT_VERSION}
            -DWORK=${CMAKE_CURRENT_BINARY_DIR}/package_contents
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckPackage.cmake)
set_tests_properties(package_contents PROPERTIES SKIP_REGULAR_EXPRESSION "SKIPPED: ")
# The developers' archive, once made, against the installed kit (kit_install, KitTests.cmake).
string(REPLACE ";" "|" PLOVIK_EMULATOR "${CMAKE_CROSSCOMPILING_EMULATOR}")
add_test(NAME sdk_package_contents
    COMMAND ${CMAKE_COMMAND} -DPACKAGE=${PLOVIK_SDK_PACKAGE}
            -DKIT=${CMAKE_CURRENT_BINARY_DIR}/kit-check/prefix
            -DFRAMEWORK=$<TARGET_FILE:plovik_framework> -DEMULATOR=${PLOVIK_EMULATOR}
            -DWORK=${CMAKE_CURRENT_BINARY_DIR}/sdk_package_contents
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckSdkPackage.cmake)
set_tests_properties(sdk_package_contents PROPERTIES SKIP_REGULAR_EXPRESSION "SKIPPED: "
                     FIXTURES_REQUIRED kit)

# Against the Linux build (the dev preset's, when it exists): the same tests, and the
# command-line host's output byte for byte.
set(PLOVIK_LINUX_BUILD ${PROJECT_SOURCE_DIR}/build/dev CACHE PATH
    "The Linux build the Windows build is compared with")
add_test(NAME same_tests_as_linux
    COMMAND ${CMAKE_COMMAND} -DMODE=tests -DNAME=tests -DEMULATOR=${PLOVIK_EMULATOR}
            -DWINDOWS_PROGRAM=$<TARGET_FILE:plovik_tests>
            -DLINUX_PROGRAM=${PLOVIK_LINUX_BUILD}/tests/plovik_tests
            -P ${PROJECT_SOURCE_DIR}/cmake/SameAsLinux.cmake)
# Each entry: the command-line host's arguments, "|"-separated. The usage text (--help, and
# after a bad option) differs by design: only the Linux build reads MusicXML scores.
set(PLOVIK_CLI_COMPARED
    "demo"
    "demo|--measures|2-3|--staves|1|--start-pos|1024|--end-pos|2048"
    "commands" "--measures|9")
foreach(arguments IN LISTS PLOVIK_CLI_COMPARED)
    string(REGEX REPLACE "[^A-Za-z0-9]+" "_" name "cli_same_as_linux_${arguments}")
    add_test(NAME ${name}
        COMMAND ${CMAKE_COMMAND} -DMODE=output -DNAME=${name} -DEMULATOR=${PLOVIK_EMULATOR}
                -DWINDOWS_PROGRAM=$<TARGET_FILE:plovik-host>
                -DLINUX_PROGRAM=${PLOVIK_LINUX_BUILD}/tools/cli/plovik-host
                -DARGS=${arguments} -P ${PROJECT_SOURCE_DIR}/cmake/SameAsLinux.cmake)
    set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "SKIPPED: no Linux build")
endforeach()
set_tests_properties(same_tests_as_linux PROPERTIES SKIP_REGULAR_EXPRESSION "SKIPPED: no Linux build")

# The whole suite once more with Wine's heap checks on: any corruption they see fails it.
add_test(NAME plovik_tests_heap_checked COMMAND plovik_tests)
set_tests_properties(plovik_tests_heap_checked PROPERTIES ENVIRONMENT WINEDEBUG=warn+heap
    FAIL_REGULAR_EXPRESSION "(err|warn):heap")
