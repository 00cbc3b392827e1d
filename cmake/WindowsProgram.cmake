# corvane_windows_program(<target> DESCRIPTION <text>): what makes a Windows executable one we
# ship. It gets a version resource (product name, file description, version, copyright) and an
# application manifest, both from the project version, and is linked without symbols, so the
# executable the Wine tests start is byte for byte the one in the zip.
function(corvane_windows_program target)
    cmake_parse_arguments(PARSE_ARGV 1 program "" "DESCRIPTION" "")
    if(NOT program_DESCRIPTION)
        message(FATAL_ERROR "corvane_windows_program(${target}): DESCRIPTION is missing")
    endif()
    set(CORVANE_PROGRAM_NAME ${target})
    set(CORVANE_PROGRAM_DESCRIPTION ${program_DESCRIPTION})
    # Windows versions have four numbers; 1.0 is 1,0,0,0.
    set(numbers ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR} ${PROJECT_VERSION_PATCH}
                ${PROJECT_VERSION_TWEAK})
    list(APPEND numbers 0 0 0 0)
    list(SUBLIST numbers 0 4 numbers)
    list(JOIN numbers "," CORVANE_VERSION_COMMAS)
    list(JOIN numbers "." CORVANE_VERSION_QUAD)

    set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}-program)
    set(CORVANE_PROGRAM_MANIFEST ${out}.manifest)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.manifest.in ${out}.manifest
                   @ONLY)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in ${out}.rc @ONLY)
    set_source_files_properties(${out}.rc PROPERTIES OBJECT_DEPENDS ${out}.manifest)
    target_sources(${target} PRIVATE ${out}.rc)
    target_link_options(${target} PRIVATE -s)
endfunction()
