# CPack pre-build script: writes <CPACK_CORVANE_CONFFILES_DIR>/<component>/conffiles, listing
# every file that the component installs under /etc, and names it as an extra control file of
# the component's .deb; a component without such files gets none.
foreach(component IN LISTS CPACK_COMPONENTS_ALL)
    set(list_file ${CPACK_CORVANE_CONFFILES_DIR}/${component}/conffiles)
    file(REMOVE ${list_file})
    set(root ${CPACK_TEMPORARY_DIRECTORY}/${component})
    file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${root} ${root}/etc/*)
    if(files)
        list(SORT files)
        list(TRANSFORM files PREPEND /)
        list(JOIN files "\n" text)
        file(WRITE ${list_file} "${text}\n")
        string(TOUPPER ${component} upper)
        set(CPACK_DEBIAN_${upper}_PACKAGE_CONTROL_EXTRA ${list_file})
    endif()
endforeach()
