# Install-time part of Install.cmake: the example hosts file. The prefix /usr keeps it in
# /etc/corvane (where corvane-wake looks), any other prefix in <prefix>/etc/corvane, so
# `cmake --install --prefix DIR` stays inside DIR. file(INSTALL) puts DESTDIR in front.
#   Set by Install.cmake: corvane_source_dir.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    set(etc_dir /etc)
else()
    set(etc_dir ${CMAKE_INSTALL_PREFIX}/etc)
endif()
file(INSTALL DESTINATION ${etc_dir}/corvane TYPE FILE
     FILES ${corvane_source_dir}/packaging/hosts)
