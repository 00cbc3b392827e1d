#pragma once

#include <functional>
#include <string>

// Where the hosts file is, as a function of what the process sees, so that both platforms'
// rules are checked on either.
//
// Reading:
//   --hosts FILE, else $CORVANE_HOSTS, else
//   POSIX:   $XDG_CONFIG_HOME/corvane/hosts (XDG_CONFIG_HOME defaulting to ~/.config) when that
//            file exists, else /etc/corvane/hosts;
//   Windows: %APPDATA%\Corvane\hosts when that file exists, else `hosts` beside the executable.
// An empty variable counts as unset; a relative $XDG_CONFIG_HOME is ignored, as the XDG base
// directory rules ask.
//
// Writing (--learn): --hosts FILE, else $CORVANE_HOSTS, else the user's own file when it exists,
// else the shared file (/etc/corvane/hosts, or `hosts` beside the executable) when it exists and
// this process may write it, else the user's own file, created then. So a user who cannot write
// the shared file learns into a file of their own (which from then on is the one read), and
// root or a portable Windows folder keeps one file. Without a home folder (or %APPDATA%) the
// shared file is the only choice.
struct THostsLocationInput {
    std::string hostsOption;    // --hosts; empty when not given
    std::string corvaneHosts;   // $CORVANE_HOSTS
    std::string xdgConfigHome;  // $XDG_CONFIG_HOME
    std::string home;           // $HOME
    std::string appData;        // %APPDATA%
    std::string executableDir;  // the folder of the running program (Windows rule)
    bool windows = false;       // which rule applies
    std::function<bool(const std::string& path)> exists;
    std::function<bool(const std::string& path)> writable;  // may this process replace it
};

// The file to read.
std::string HostsFilePath(const THostsLocationInput& input);

// The file --learn appends to (created with its folder when missing).
std::string LearnHostsFilePath(const THostsLocationInput& input);

// The input from the real environment: getenv for the variables, the file system for the
// callbacks, `windows` for the build's own platform. `executableDir` is the caller's: pass
// ProgramFolder() (hosts/HostsPlatform.h), or a test's folder.
THostsLocationInput HostsLocationFromEnvironment(const std::string& hostsOption,
                                                 const std::string& executableDir);
