# Install-time part of Install.cmake: the relay's systemd unit and the options file it reads,
# and corvane-web's unit.
# Where they go is decided by the prefix of this installation, not of the configuration, so
# `cmake --install --prefix DIR` keeps everything inside DIR and the .deb (prefix /usr) gets
# /etc/default/corvane-relay: the prefix /usr keeps its options in /etc, any other prefix in
# <prefix>/etc. The unit names the program and the options file where they went. file(INSTALL)
# puts DESTDIR in front of both, as CPack's staging needs.
#   Set by Install.cmake: corvane_source_dir, corvane_build_dir, corvane_bindir.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr")
    set(etc_dir /etc)
else()
    set(etc_dir ${CMAKE_INSTALL_PREFIX}/etc)
endif()
file(READ ${corvane_source_dir}/packaging/corvane-relay.service unit)
string(REPLACE "/usr/bin/corvane-relay" "${CMAKE_INSTALL_PREFIX}/${corvane_bindir}/corvane-relay"
       unit "${unit}")
string(REPLACE "/etc/default/" "${etc_dir}/default/" unit "${unit}")
file(WRITE ${corvane_build_dir}/corvane-relay.service "${unit}")
file(INSTALL DESTINATION ${CMAKE_INSTALL_PREFIX}/lib/systemd/system TYPE FILE
     FILES ${corvane_build_dir}/corvane-relay.service)
file(INSTALL DESTINATION ${etc_dir}/default TYPE FILE RENAME corvane-relay
     FILES ${corvane_source_dir}/packaging/corvane-relay.default)
file(READ ${corvane_source_dir}/packaging/corvane-web.service unit)
string(REPLACE "/usr/bin/corvane-web" "${CMAKE_INSTALL_PREFIX}/${corvane_bindir}/corvane-web"
       unit "${unit}")
file(WRITE ${corvane_build_dir}/corvane-web.service "${unit}")
file(INSTALL DESTINATION ${CMAKE_INSTALL_PREFIX}/lib/systemd/system TYPE FILE
     FILES ${corvane_build_dir}/corvane-web.service)
