#include "hosts/HostsLocation.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "hosts/HostsPlatform.h"

namespace {

// The user's own file; empty when the environment names no home for it.
std::string UserFile(const THostsLocationInput& input) {
    if (input.windows) {
        return input.appData.empty() ? std::string() : input.appData + "\\Corvane\\hosts";
    }
    if (!input.xdgConfigHome.empty() && input.xdgConfigHome[0] == '/') {
        return input.xdgConfigHome + "/corvane/hosts";
    }
    return input.home.empty() ? std::string() : input.home + "/.config/corvane/hosts";
}

// The file every user shares: the system's, or the one beside a Windows program.
std::string SharedFile(const THostsLocationInput& input) {
    if (!input.windows) {
        return "/etc/corvane/hosts";
    }
    if (input.executableDir.empty()) {
        return "hosts";
    }
    const char last = input.executableDir.back();
    const bool separated = last == '\\' || last == '/';
    return input.executableDir + (separated ? "" : "\\") + "hosts";
}

bool Exists(const THostsLocationInput& input, const std::string& path) {
    return input.exists && input.exists(path);
}

std::string GetEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

std::string HostsFilePath(const THostsLocationInput& input) {
    if (!input.hostsOption.empty()) {
        return input.hostsOption;
    }
    if (!input.corvaneHosts.empty()) {
        return input.corvaneHosts;
    }
    const std::string user = UserFile(input);
    if (!user.empty() && Exists(input, user)) {
        return user;
    }
    return SharedFile(input);
}

std::string LearnHostsFilePath(const THostsLocationInput& input) {
    if (!input.hostsOption.empty()) {
        return input.hostsOption;
    }
    if (!input.corvaneHosts.empty()) {
        return input.corvaneHosts;
    }
    const std::string user = UserFile(input);
    if (!user.empty() && Exists(input, user)) {
        return user;
    }
    const std::string shared = SharedFile(input);
    if (user.empty() || (Exists(input, shared) && input.writable && input.writable(shared))) {
        return shared;
    }
    return user;
}

THostsLocationInput HostsLocationFromEnvironment(const std::string& hostsOption,
                                                 const std::string& executableDir) {
    THostsLocationInput input;
    input.hostsOption = hostsOption;
    input.corvaneHosts = GetEnvironment("CORVANE_HOSTS");
    input.xdgConfigHome = GetEnvironment("XDG_CONFIG_HOME");
    input.home = GetEnvironment("HOME");
    input.appData = GetEnvironment("APPDATA");
    input.executableDir = executableDir;
    input.windows = UsesWindowsHostsRule();
    input.exists = [](const std::string& path) {
        std::error_code error;
        return std::filesystem::is_regular_file(path, error);
    };
    // Opening for appending creates nothing when the file exists and changes no byte.
    input.writable = [](const std::string& path) {
        return std::ofstream(path, std::ios::binary | std::ios::app).is_open();
    };
    return input;
}
