#pragma once

#include <cstdint>
#include <string>
#include <vector>

// corvane-web [--listen ADDRESS:PORT] [--hosts FILE] [--config FILE] [--wake-timeout SECONDS]
//             [--resend SECONDS] [--secure-cookies] [--trusted-proxy-header NAME]
//             [--session-days N]
// corvane-web [--config FILE] (--set-password | --add-token NAME | --revoke-token NAME |
//                              --list-tokens)

enum class TWebCommand {
    Serve,
    SetPassword,
    AddToken,
    RevokeToken,
    ListTokens,
};

struct TWebOptions {
    TWebCommand command = TWebCommand::Serve;
    std::string tokenName;       // --add-token, --revoke-token
    uint32_t listenAddress = 0;  // 0.0.0.0
    int32_t listenPort = 8089;
    std::string hostsPath;  // --hosts; empty: found as corvane-wake finds it
    std::string configPath = "/etc/corvane/web.conf";
    int64_t wakeTimeoutMs = 120000;
    int64_t resendMs = 10000;
    bool secureCookies = false;
    std::string trustedProxyHeader;
    int64_t sessionDays = 7;
    bool help = false;
};

// Exit statuses of corvane-web.
constexpr int kWebDone = 0;
constexpr int kWebWriteFailed = 1;  // the config file could not be written
constexpr int kWebBadUsage = 2;     // bad options or config file, or no credentials
constexpr int kWebCannotListen = 3;

extern const char kWebUsage[];

// Reads the arguments after the program name; false with `error` set when they are wrong.
bool ParseWebOptions(const std::vector<std::string>& arguments, TWebOptions& options,
                     std::string& error);

// True for 127.0.0.0/8.
bool IsLoopbackAddress(uint32_t address);
