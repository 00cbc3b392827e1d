# `cmake --install`: the programs, and libcorvane with its headers and a CMake package config.
# `find_package(Corvane)` gives the wake logic (Corvane::corvane, or the layers Corvane::base,
# ::net, ::calc, ::wake) without libjpeg; `find_package(Corvane COMPONENTS controls)` adds the
# platform-free windowing services and controls (Corvane::platform, ::controls), which need it.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

if(WIN32)
    install(TARGETS corvane corvane-monitor corvane-relay RUNTIME DESTINATION .)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/help/ DESTINATION help)
    return()
endif()

install(TARGETS corvane corvane-monitor corvane-relay RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The relay's systemd unit and the options file it reads (/etc/default with the prefix /usr):
# the unit names the program and the options file where this installation puts them.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/packaging/corvane-relay.service)
file(READ ${PROJECT_SOURCE_DIR}/packaging/corvane-relay.service relay_unit)
string(REPLACE "/usr/bin/corvane-relay" "${CMAKE_INSTALL_FULL_BINDIR}/corvane-relay" relay_unit
       "${relay_unit}")
string(REPLACE "/etc/default/" "${CMAKE_INSTALL_FULL_SYSCONFDIR}/default/" relay_unit
       "${relay_unit}")
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/corvane-relay.service "${relay_unit}")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/corvane-relay.service DESTINATION lib/systemd/system)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/corvane-relay.default
        DESTINATION ${CMAKE_INSTALL_FULL_SYSCONFDIR}/default RENAME corvane-relay)
install(FILES ${PROJECT_SOURCE_DIR}/man/corvane-relay.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The platform-free headers of the library's layers; the Win32 ones are of no use to a user.
foreach(layer base net calc wake platform controls)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/${layer}/
            DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvane/${layer}
            FILES_MATCHING PATTERN "*.h" PATTERN "*_win.h" EXCLUDE PATTERN "WinApi.h" EXCLUDE)
endforeach()

install(TARGETS corvane_base corvane_net corvane_calc corvane_wake corvane_core
        EXPORT CorvaneTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvane)
install(TARGETS corvane_platform corvane_controls
        EXPORT CorvaneControlsTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvane)
set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Corvane)
install(EXPORT CorvaneTargets NAMESPACE Corvane:: DESTINATION ${config_dir})
install(EXPORT CorvaneControlsTargets NAMESPACE Corvane:: DESTINATION ${config_dir})

file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfig.cmake.in [[
@PACKAGE_INIT@
include("${CMAKE_CURRENT_LIST_DIR}/CorvaneTargets.cmake")
set(Corvane_wake_FOUND TRUE)
if("controls" IN_LIST Corvane_FIND_COMPONENTS)
    include(CMakeFindDependencyMacro)
    find_dependency(JPEG)
    include("${CMAKE_CURRENT_LIST_DIR}/CorvaneControlsTargets.cmake")
    set(Corvane_controls_FOUND TRUE)
endif()
check_required_components(Corvane)
]])
configure_package_config_file(${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfig.cmake INSTALL_DESTINATION ${config_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfigVersion.cmake
        DESTINATION ${config_dir})
