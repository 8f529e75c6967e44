# What the kit installs (cmake --install, component kit) and how another project finds it,
# find_package(PlovikFramework CONFIG): the headers in include/plovik (the substitute host's and
# the fixture's in include/plovik/testhost), the static libraries, plovik-validate, and in
# lib/cmake/PlovikFramework the package with plovik_add_plugin and the files it uses; the plug-in
# template in share/plovik/plugin-template.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(PLOVIK_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/PlovikFramework)
set(PLOVIK_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/plovik)

file(GLOB_RECURSE PLOVIK_FRAMEWORK_HEADERS CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/kit/finalepdk/*.h ${PROJECT_SOURCE_DIR}/kit/finaleframework/*.h)
install(FILES ${PLOVIK_FRAMEWORK_HEADERS} ${PROJECT_SOURCE_DIR}/kit/platform/Platform.h
              ${PROJECT_SOURCE_DIR}/kit/pluginkit/PlovikPlugin.h
        DESTINATION ${PLOVIK_INCLUDE_DIR} COMPONENT kit)
install(TARGETS plovik_framework plovik_pluginkit EXPORT PlovikFrameworkTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT kit)
install(TARGETS plovik-validate EXPORT PlovikFrameworkTargets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT kit)
if(TARGET plovik_testhost)
    file(GLOB PLOVIK_TESTHOST_HEADERS CONFIGURE_DEPENDS
         ${PROJECT_SOURCE_DIR}/host/*.h ${PROJECT_SOURCE_DIR}/host/testing/*.h
         ${PROJECT_SOURCE_DIR}/tools/validate/*.h)
    install(FILES ${PLOVIK_TESTHOST_HEADERS} ${PROJECT_SOURCE_DIR}/kit/platform/UiCalls.h
                  ${PROJECT_SOURCE_DIR}/kit/platform/StandIn.h
            DESTINATION ${PLOVIK_INCLUDE_DIR}/testhost COMPONENT kit)
    install(TARGETS plovik_testhost EXPORT PlovikFrameworkTargets
            ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT kit)
endif()
install(EXPORT PlovikFrameworkTargets NAMESPACE Plovik:: DESTINATION ${PLOVIK_PACKAGE_DIR}
        COMPONENT kit)

configure_package_config_file(${PROJECT_SOURCE_DIR}/kit/cmake/PlovikFrameworkConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/PlovikFrameworkConfig.cmake
                              INSTALL_DESTINATION ${PLOVIK_PACKAGE_DIR})
# Any 1.x for a project that asks for 1.0; built for another pointer size (the 32-bit Windows
# kit in a 64-bit configure) it refuses.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/PlovikFrameworkConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
set(PLOVIK_KIT_CMAKE ${PROJECT_SOURCE_DIR}/kit/cmake)
install(FILES ${PROJECT_BINARY_DIR}/PlovikFrameworkConfig.cmake
              ${PROJECT_BINARY_DIR}/PlovikFrameworkConfigVersion.cmake
              ${PLOVIK_KIT_CMAKE}/PlovikAddPlugin.cmake ${PLOVIK_KIT_CMAKE}/PlovikGoogleTest.cmake
              ${PLOVIK_KIT_CMAKE}/PlovikPlugin.rc.in ${PLOVIK_KIT_CMAKE}/PlovikPlugin.def
              ${PLOVIK_KIT_CMAKE}/PlovikPlugin.map ${PLOVIK_KIT_CMAKE}/CheckPluginDll.cmake
              ${PLOVIK_KIT_CMAKE}/CheckReproducibleDll.cmake
              ${PLOVIK_KIT_CMAKE}/mingw-w64-i686.cmake
        DESTINATION ${PLOVIK_PACKAGE_DIR} COMPONENT kit)
install(PROGRAMS ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh DESTINATION ${PLOVIK_PACKAGE_DIR}
        COMPONENT kit)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/plugin-template
        DESTINATION ${CMAKE_INSTALL_DATADIR}/plovik COMPONENT kit PATTERN build EXCLUDE)
