# The release for Finale users (cmake --build --preset windows --target package):
# <name>-<version>-win32.zip with the plug-in DLL, the very file the tests load, and the page
# for musicians, with Windows line endings.
configure_file(${PROJECT_SOURCE_DIR}/plugin/README-Finale.txt.in
               ${PROJECT_BINARY_DIR}/README-Finale.txt @ONLY NEWLINE_STYLE CRLF)
install(TARGETS plovik_tie LIBRARY DESTINATION . COMPONENT finale)
install(FILES ${PROJECT_BINARY_DIR}/README-Finale.txt DESTINATION . COMPONENT finale)

set(CPACK_GENERATOR ZIP)
set(PLOVIK_PACKAGE ${PROJECT_BINARY_DIR}/${PROJECT_NAME}-${PROJECT_VERSION}-win32.zip)
get_filename_component(CPACK_PACKAGE_FILE_NAME ${PLOVIK_PACKAGE} NAME_WLE)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# Only the plug-in's component: nothing that a subproject installs.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};finale;/")
# The archive is written again with its members in this order and with fixed times.
set(CPACK_PLOVIK_MEMBERS PlovikTie.dll README-Finale.txt)
set(CPACK_PLOVIK_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/PackageMembers.cmake)
include(CPack)
