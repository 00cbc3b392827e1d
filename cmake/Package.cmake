# `make package` (CPack) from the install rules of Install.cmake:
#   Linux:   corvane_<version>_amd64.deb (component runtime: the programs, their man pages and
#            documentation) and libcorvane-dev_<version>_amd64.deb (component development);
#   Windows: corvane-<version>-win64.zip (the programs, help/, README.txt and LICENSE.txt).
# The version is the project's.
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${CORVANE_VENDOR})
set(CPACK_PACKAGE_CONTACT "${CORVANE_VENDOR} <dev@corvane.example.org>")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME corvane-${PROJECT_VERSION}-win64)
    # One folder in the zip, so unpacking it scatters nothing. The executables are linked
    # stripped already (WindowsProgram.cmake): the zip holds the very files the tests ran.
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
    include(CPack)
    return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime development)
# Files installed to an absolute path (/etc/...) go into the package, not onto this machine.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME corvane)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION net)
# Depends as dpkg-shlibdeps computes it from the programs.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
"Wake-on-LAN sender and magic packet monitor
corvane wakes a computer over the network: it sends one Wake-on-LAN magic
packet (with an optional password) as a UDP broadcast to the target's subnet.
corvane-monitor prints every datagram that arrives on a UDP port and decodes
magic packets, to check a Wake-on-LAN setup without a sleeping machine.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libcorvane-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
# Only the controls component of the CMake package config needs libjpeg.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_RECOMMENDS libjpeg-dev)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION
"Wake-on-LAN library for C++ (static libraries and headers)
libcorvane holds the wake logic of Corvane: the magic packet, the socket stack
and UDP client, the network calculator, and the platform-free logic of its
window controls. The package has the static libraries, their headers and a
CMake package config: find_package(Corvane) and Corvane::corvane.")

# Every file under /etc is a configuration file: dpkg keeps the administrator's changes. The
# list is made per package from what was staged (PackageConffiles.cmake).
set(CPACK_CORVANE_CONFFILES_DIR ${PROJECT_BINARY_DIR}/cpack-conffiles)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/PackageConffiles.cmake)

include(CPack)
