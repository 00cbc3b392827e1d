# `cmake --install`: the programs with their man pages and documentation (component runtime),
# and libcorvane with its headers and a CMake package config (component development).
# Package.cmake makes the packages from these rules.
# `find_package(Corvane)` gives the wake logic (Corvane::corvane, or the layers Corvane::base,
# ::net, ::calc, ::wake) without libjpeg; `find_package(Corvane COMPONENTS controls)` adds the
# platform-free windowing services and controls (Corvane::platform, ::controls), which need it.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# Whatever is installed without a component of its own belongs to the programs' package.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME runtime)

if(WIN32)
    install(TARGETS corvane corvane-monitor corvane-relay corvane-wake RUNTIME DESTINATION .)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/help/ DESTINATION help)
    # The example hosts file as hosts.example, with CRLF line ends for Notepad: corvane-wake
    # reads `hosts` beside itself, which unpacking a newer zip then never overwrites.
    file(READ ${PROJECT_SOURCE_DIR}/packaging/hosts hosts_example)
    string(REPLACE "\n" "\r\n" hosts_example "${hosts_example}")
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/hosts.example "${hosts_example}")
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/hosts.example DESTINATION .)
    # Plain text with CRLF line ends, for Notepad on every Windows version: the README, and
    # the licence followed by the notices of the libraries linked into the programs.
    configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/README.txt.in
                   ${CMAKE_CURRENT_BINARY_DIR}/README.lf @ONLY)
    file(READ ${CMAKE_CURRENT_BINARY_DIR}/README.lf readme)
    file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
    file(READ ${PROJECT_SOURCE_DIR}/packaging/windows/third-party.txt notices)
    string(REPLACE "\n" "\r\n" readme "${readme}")
    string(REPLACE "\n" "\r\n" licence "${licence}${notices}")
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/README.txt "${readme}")
    file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt "${licence}")
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt
            DESTINATION .)
    return()
endif()

install(TARGETS corvane corvane-monitor corvane-relay corvane-wake corvane-web
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The relay's systemd unit and the options file it reads, placed when installing (see the file).
install(CODE "set(corvane_source_dir \"${PROJECT_SOURCE_DIR}\")
set(corvane_build_dir \"${CMAKE_CURRENT_BINARY_DIR}\")
set(corvane_bindir \"${CMAKE_INSTALL_BINDIR}\")")
install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/InstallRelayUnit.cmake)
# The example hosts file (all comments) as <etc>/corvane/hosts, by the same /etc rule; under
# /etc it is a conffile of the .deb, so a user's hosts survive upgrades.
install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/InstallHostsFile.cmake)

# Every man/<name>.<section>, with the project version put in and gzip-compressed the Debian way
# (-9n: no name or time stamp inside, so the same page gives the same bytes).
find_program(CORVANE_GZIP gzip REQUIRED)
file(GLOB man_pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/man/*.[1-9])
set(man_outputs)
foreach(page IN LISTS man_pages)
    get_filename_component(name ${page} NAME)
    string(REGEX REPLACE ".*\\.([1-9])$" "\\1" section ${name})
    configure_file(${page} ${CMAKE_CURRENT_BINARY_DIR}/man/${name} @ONLY)
    add_custom_command(
        OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/man/${name}.gz
        COMMAND ${CORVANE_GZIP} -9nc ${name} > ${name}.gz
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/man
        DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/man/${name}
        COMMENT "Compressing the man page ${name}")
    list(APPEND man_outputs ${CMAKE_CURRENT_BINARY_DIR}/man/${name}.gz)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/man/${name}.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()
add_custom_target(corvane_man_pages ALL DEPENDS ${man_outputs})

# The documentation of each package: the README, the copyright file and the changelog.
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(
    OUTPUT ${changelog}
    COMMAND ${CORVANE_GZIP} -9nc ${PROJECT_SOURCE_DIR}/packaging/changelog > ${changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
    COMMENT "Compressing the changelog")
add_custom_target(corvane_changelog ALL DEPENDS ${changelog})
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/packaging/copyright
              ${changelog}
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/corvane)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${changelog}
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/libcorvane-dev COMPONENT development)

# The platform-free headers of the library's layers; the Win32 ones are of no use to a user.
foreach(layer base net calc wake platform controls)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/${layer}/
            DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvane/${layer}
            COMPONENT development
            FILES_MATCHING PATTERN "*.h" PATTERN "*_win.h" EXCLUDE PATTERN "WinApi.h" EXCLUDE)
endforeach()

install(TARGETS corvane_base corvane_net corvane_calc corvane_wake corvane_core
        EXPORT CorvaneTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvane)
install(TARGETS corvane_platform corvane_controls
        EXPORT CorvaneControlsTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvane)
set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Corvane)
install(EXPORT CorvaneTargets NAMESPACE Corvane:: DESTINATION ${config_dir}
        COMPONENT development)
install(EXPORT CorvaneControlsTargets NAMESPACE Corvane:: DESTINATION ${config_dir}
        COMPONENT development)

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
        DESTINATION ${config_dir} COMPONENT development)
