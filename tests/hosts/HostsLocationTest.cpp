#include <gtest/gtest.h>

#include <set>

#include "hosts/HostsLocation.h"

namespace {

struct TRow {
    const char* name;
    THostsLocationInput input;
    std::set<std::string> existing;
    std::set<std::string> writable;
    std::string read;
    std::string learn;
};

THostsLocationInput Posix(std::string hosts, std::string corvane, std::string xdg,
                          std::string home) {
    THostsLocationInput input;
    input.hostsOption = std::move(hosts);
    input.corvaneHosts = std::move(corvane);
    input.xdgConfigHome = std::move(xdg);
    input.home = std::move(home);
    input.appData = "C:\\ignored";
    input.executableDir = "/ignored";
    return input;
}

THostsLocationInput Windows(std::string hosts, std::string corvane, std::string appData,
                            std::string executableDir) {
    THostsLocationInput input;
    input.hostsOption = std::move(hosts);
    input.corvaneHosts = std::move(corvane);
    input.appData = std::move(appData);
    input.executableDir = std::move(executableDir);
    input.xdgConfigHome = "/ignored";
    input.home = "/ignored";
    input.windows = true;
    return input;
}

TEST(HostsLocation, FollowsEachPlatformsRuleForReadingAndLearning) {
    const std::string user = "/home/u/.config/corvane/hosts";
    const std::string xdg = "/x/corvane/hosts";
    const std::string etc = "/etc/corvane/hosts";
    const std::string roaming = "C:\\Users\\u\\AppData\\Roaming\\Corvane\\hosts";
    const std::string beside = "C:\\Corvane\\hosts";
    const TRow rows[] = {
        {"--hosts first", Posix("my", "env", "/x", "/home/u"), {xdg, etc}, {}, "my", "my"},
        {"then $CORVANE_HOSTS", Posix("", "env", "/x", "/home/u"), {xdg}, {}, "env", "env"},
        {"the XDG file when it exists",
         Posix("", "", "/x", "/home/u"),
         {xdg, etc},
         {etc},
         xdg,
         xdg},
        {"~/.config without XDG_CONFIG_HOME", Posix("", "", "", "/home/u"), {user}, {}, user, user},
        {"a relative XDG_CONFIG_HOME is ignored",
         Posix("", "", "x", "/home/u"),
         {user},
         {},
         user,
         user},
        {"/etc when the user has none", Posix("", "", "/x", "/home/u"), {etc}, {}, etc, xdg},
        {"/etc, writable, is learned into", Posix("", "", "", "/home/u"), {etc}, {etc}, etc, etc},
        {"nothing exists: the user's file", Posix("", "", "", "/home/u"), {}, {}, etc, user},
        {"no home: /etc alone", Posix("", "", "", ""), {}, {}, etc, etc},
        {"Windows: --hosts",
         Windows("D:\\h", "env", "C:\\Users\\u\\AppData\\Roaming", "C:\\Corvane"),
         {roaming},
         {},
         "D:\\h",
         "D:\\h"},
        {"Windows: %APPDATA% when it exists",
         Windows("", "", "C:\\Users\\u\\AppData\\Roaming", "C:\\Corvane"),
         {roaming, beside},
         {},
         roaming,
         roaming},
        {"Windows: beside the program, writable (a portable folder)",
         Windows("", "", "C:\\Users\\u\\AppData\\Roaming", "C:\\Corvane\\"),
         {beside},
         {beside},
         beside,
         beside},
        {"Windows: beside the program, read-only",
         Windows("", "", "C:\\Users\\u\\AppData\\Roaming", "C:\\Corvane"),
         {beside},
         {},
         beside,
         roaming},
        {"Windows: nothing exists",
         Windows("", "", "C:\\Users\\u\\AppData\\Roaming", "C:\\Corvane"),
         {},
         {},
         beside,
         roaming},
        {"Windows: no %APPDATA%", Windows("", "", "", "C:\\Corvane"), {}, {}, beside, beside},
        {"Windows: no folder known", Windows("", "", "", ""), {}, {}, "hosts", "hosts"},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.name);
        THostsLocationInput input = row.input;
        input.exists = [&](const std::string& path) { return row.existing.count(path) > 0; };
        input.writable = [&](const std::string& path) { return row.writable.count(path) > 0; };
        EXPECT_EQ(HostsFilePath(input), row.read);
        EXPECT_EQ(LearnHostsFilePath(input), row.learn);
    }
}

TEST(HostsLocation, ReadsTheEnvironment) {
    setenv("CORVANE_HOSTS", "/tmp/from-env", 1);
    const THostsLocationInput input = HostsLocationFromEnvironment("", "/opt");
    EXPECT_EQ(input.corvaneHosts, "/tmp/from-env");
    EXPECT_EQ(input.executableDir, "/opt");
    EXPECT_FALSE(input.windows);
    EXPECT_EQ(HostsFilePath(input), "/tmp/from-env");
    EXPECT_EQ(HostsFilePath(HostsLocationFromEnvironment("given", "")), "given");
    unsetenv("CORVANE_HOSTS");
}

}  // namespace
