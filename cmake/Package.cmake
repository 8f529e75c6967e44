# The archives (cmake --build --preset windows --target package), each written so that the same
# commit gives the same bytes (PackageMembers.cmake):
# - <name>-<version>-win32.zip for Finale users: the plug-in DLL, the very file the tests load,
#   and the page for musicians, with Windows line endings (component finale);
# - PlovikFramework-<version>-win32-sdk.zip for developers of plug-ins: the kit as cmake --install
#   puts it (component kit: headers, i686 libraries, CMake package, template, validator) and the
#   reference in share/doc/PlovikFramework/html (component reference, made with Doxygen).
configure_file(${PROJECT_SOURCE_DIR}/plugin/README-Finale.txt.in
               ${PROJECT_BINARY_DIR}/README-Finale.txt @ONLY NEWLINE_STYLE CRLF)
install(TARGETS plovik_tie LIBRARY DESTINATION . COMPONENT finale EXCLUDE_FROM_ALL)
install(FILES ${PROJECT_BINARY_DIR}/README-Finale.txt DESTINATION . COMPONENT finale
        EXCLUDE_FROM_ALL)
set(PLOVIK_REFERENCE ${PROJECT_BINARY_DIR}/reference)
install(CODE "execute_process(COMMAND \"${CMAKE_COMMAND}\" \"-DOUT=${PLOVIK_REFERENCE}\"
                                      -P \"${PROJECT_SOURCE_DIR}/cmake/Reference.cmake\"
                              WORKING_DIRECTORY \"${PROJECT_SOURCE_DIR}\" RESULT_VARIABLE rc)
              if(NOT rc EQUAL 0)
                  message(FATAL_ERROR \"the reference could not be made\")
              endif()"
        COMPONENT reference EXCLUDE_FROM_ALL)
install(DIRECTORY ${PLOVIK_REFERENCE}/html DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/PlovikFramework
        COMPONENT reference EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL finale kit reference)
set(CPACK_COMPONENTS_GROUPING ONE_PER_GROUP)
set(CPACK_COMPONENT_KIT_GROUP sdk)
set(CPACK_COMPONENT_REFERENCE_GROUP sdk)
set(PLOVIK_PACKAGE ${PROJECT_BINARY_DIR}/${PROJECT_NAME}-${PROJECT_VERSION}-win32.zip)
set(PLOVIK_SDK_PACKAGE ${PROJECT_BINARY_DIR}/PlovikFramework-${PROJECT_VERSION}-win32-sdk.zip)
get_filename_component(CPACK_ARCHIVE_FINALE_FILE_NAME ${PLOVIK_PACKAGE} NAME_WLE)
get_filename_component(CPACK_ARCHIVE_SDK_FILE_NAME ${PLOVIK_SDK_PACKAGE} NAME_WLE)
# Each archive is written again with its members in a fixed order and with fixed times: the
# Finale users' in this order (and exactly these), the developers' sorted by name.
set(CPACK_PLOVIK_MEMBERS PlovikTie.dll README-Finale.txt)
set(CPACK_PLOVIK_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/PackageMembers.cmake)
include(CPack)
