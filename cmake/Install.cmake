# `cmake --install`: the programs, and libcorvane with its headers and a CMake package config,
# so another project can `find_package(Corvane)` and link `Corvane::corvane`.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

if(WIN32)
    install(TARGETS corvane corvane-monitor RUNTIME DESTINATION .)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/help/ DESTINATION help)
    return()
endif()

install(TARGETS corvane corvane-monitor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The platform-free headers; the Win32 ones (*_win.h) are of no use to a library user.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvane
        FILES_MATCHING PATTERN "*.h" PATTERN "*_win.h" EXCLUDE PATTERN "WinApi.h" EXCLUDE
        PATTERN "res" EXCLUDE)

set_target_properties(corvane_core PROPERTIES EXPORT_NAME corvane)
set_target_properties(corvane_jpeg PROPERTIES EXPORT_NAME jpeg)
set_target_properties(corvane_jpeg_library PROPERTIES EXPORT_NAME jpeg_library)
set_target_properties(corvane_warnings PROPERTIES EXPORT_NAME warnings)
install(TARGETS corvane_core corvane_jpeg corvane_jpeg_library corvane_warnings
        EXPORT CorvaneTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/corvane)
set(config_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Corvane)
install(EXPORT CorvaneTargets NAMESPACE Corvane:: DESTINATION ${config_dir})

file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfig.cmake.in [[
@PACKAGE_INIT@
include(CMakeFindDependencyMacro)
find_dependency(JPEG)
include("${CMAKE_CURRENT_LIST_DIR}/CorvaneTargets.cmake")
]])
configure_package_config_file(${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfig.cmake INSTALL_DESTINATION ${config_dir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfig.cmake
              ${CMAKE_CURRENT_BINARY_DIR}/CorvaneConfigVersion.cmake
        DESTINATION ${config_dir})
