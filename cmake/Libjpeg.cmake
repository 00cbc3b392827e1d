# libjpeg decodes the About box's banner. This file defines `corvane_jpeg`: Debian's
# libjpeg62-turbo natively; for the Windows build the static library compiled here from Debian's
# libjpeg-turbo source package with the mingw toolchain. (The banner itself is a resource of
# corvane.exe, see src/ui/corvane.rc.)

if(CMAKE_CROSSCOMPILING AND WIN32)
    # Fetched with `apt-get source` (needs a deb-src entry: tools/install-deps adds one) into the
    # build tree once; the ExternalProject stamps keep rebuilds from fetching or configuring it
    # again. Only the static library is built: no SIMD (one small picture; no nasm needed), no
    # TurboJPEG API, no tools.
    include(ExternalProject)
    set(jpeg_root ${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo)
    set(jpeg_source ${jpeg_root}/source)
    set(jpeg_build ${jpeg_root}/build)
    set(jpeg_library ${jpeg_build}/${CMAKE_STATIC_LIBRARY_PREFIX}jpeg${CMAKE_STATIC_LIBRARY_SUFFIX})
    file(WRITE ${jpeg_root}/fetch.sh [[
# Unpacks Debian's libjpeg-turbo source package into folder $1, downloading into folder $2.
set -e
cd "$2"
rm -rf libjpeg-turbo-*/
if ! apt-get source libjpeg-turbo >download.log 2>&1; then
    cat download.log >&2
    echo "apt-get source libjpeg-turbo failed: run tools/install-deps as root (adds a deb-src entry)" >&2
    exit 1
fi
rm -rf "$1"
mv libjpeg-turbo-*/ "$1"
]])
    ExternalProject_Add(libjpeg_turbo
        PREFIX ${jpeg_root}
        DOWNLOAD_DIR ${jpeg_root}/download
        SOURCE_DIR ${jpeg_source}
        BINARY_DIR ${jpeg_build}
        DOWNLOAD_COMMAND sh ${jpeg_root}/fetch.sh ${jpeg_source} ${jpeg_root}/download
        UPDATE_COMMAND ""
        PATCH_COMMAND ""
        CMAKE_ARGS
            -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
            -DCMAKE_BUILD_TYPE=Release
            # Built for size like the program that links it (see CMakeLists.txt). NO_GETENV
            # drops the JPEGMEM memory limit from the environment, and with it sscanf (17 KB).
            "-DCMAKE_C_FLAGS_RELEASE=${CMAKE_C_FLAGS_RELEASE} -ffunction-sections -fdata-sections -DNO_GETENV"
            -DCMAKE_INSTALL_PREFIX=${jpeg_root}/install
            -DENABLE_SHARED=OFF
            -DENABLE_STATIC=ON
            -DWITH_SIMD=OFF
            -DWITH_TURBOJPEG=OFF
            -DWITH_JAVA=OFF
        BUILD_COMMAND ${CMAKE_COMMAND} --build ${jpeg_build} --target jpeg-static
        BUILD_BYPRODUCTS ${jpeg_library}
        INSTALL_COMMAND ""
        TEST_COMMAND ""
        LOG_CONFIGURE ON
        LOG_BUILD ON
        LOG_OUTPUT_ON_FAILURE ON)
    # Imported targets need their include folders to exist when the project is generated.
    file(MAKE_DIRECTORY ${jpeg_source} ${jpeg_build})
    add_library(corvane_jpeg_library STATIC IMPORTED GLOBAL)
    set_target_properties(corvane_jpeg_library PROPERTIES
        IMPORTED_LOCATION ${jpeg_library}
        INTERFACE_INCLUDE_DIRECTORIES "${jpeg_source};${jpeg_build}")
    add_dependencies(corvane_jpeg_library libjpeg_turbo)
else()
    find_package(JPEG REQUIRED)
    add_library(corvane_jpeg_library INTERFACE)
    target_link_libraries(corvane_jpeg_library INTERFACE JPEG::JPEG)
endif()

add_library(corvane_jpeg INTERFACE)
target_link_libraries(corvane_jpeg INTERFACE corvane_jpeg_library)
