#include "cli/Web.h"

#include <malloc.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>

#include "base/DottedText.h"
#include "hosts/HostsLocation.h"
#include "net/IdProber.h"
#include "web/HostMonitor.h"
#include "web/Secrets.h"
#include "web/WebApi.h"
#include "web/WebServer.h"

namespace {

constexpr int64_t kDayMs = 24LL * 3600 * 1000;
constexpr size_t kMaxPasswordBytes = 4096;

// One line without its line end; false at the end of input before any byte.
bool ReadLine(std::FILE* in, std::string& line) {
    line.clear();
    int c = 0;
    bool any = false;
    while ((c = std::fgetc(in)) != EOF) {
        any = true;
        if (c == '\n') {
            break;
        }
        line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return any;
}

// Reads one line with the terminal's echo off.
bool ReadHidden(std::FILE* in, std::FILE* err, const char* prompt, std::string& line) {
    std::fputs(prompt, err);
    std::fflush(err);
    termios saved{};
    const int fd = fileno(in);
    const bool hidden = tcgetattr(fd, &saved) == 0;
    if (hidden) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        tcsetattr(fd, TCSAFLUSH, &quiet);
    }
    const bool read = ReadLine(in, line);
    if (hidden) {
        tcsetattr(fd, TCSAFLUSH, &saved);
    }
    return read;
}

int ConfigError(std::FILE* err, const std::string& error) {
    std::fprintf(err, "corvane-web: %s\n", error.c_str());
    return kWebBadUsage;
}

int Write(const std::string& path, const TWebConfig& config, std::FILE* err) {
    try {
        WriteWebConfigFile(path, config);
    } catch (const EWebConfigError& error) {
        std::fprintf(err, "corvane-web: %s\n", error.Message().c_str());
        return kWebWriteFailed;
    }
    return kWebDone;
}

}  // namespace

std::string StartRefusal(const TWebOptions& options, const TWebConfig& config) {
    if (config.HasCredentials() || IsLoopbackAddress(options.listenAddress)) {
        return {};
    }
    return "no password or token is configured: set one with corvane-web --set-password "
           "before listening on " +
           DottedAddressText(options.listenAddress);
}

bool ReadNewPassword(std::FILE* in, std::FILE* err, std::string& password, std::string& error) {
    bool read = false;
    if (isatty(fileno(in))) {
        std::string again;
        read = ReadHidden(in, err, "New password: ", password) &&
               ReadHidden(in, err, "Again: ", again);
        if (read && password != again) {
            WipeSecret(again);
            error = "the two passwords differ; nothing was changed";
            return false;
        }
        WipeSecret(again);
    } else {
        read = ReadLine(in, password);
    }
    if (!read || password.empty()) {
        error = "no password was given on standard input; nothing was changed";
        return false;
    }
    if (password.size() > kMaxPasswordBytes) {
        error = "the password is longer than 4096 bytes; nothing was changed";
        return false;
    }
    return true;
}

int RunWebCommand(const TWebOptions& options, std::FILE* in, std::FILE* out, std::FILE* err) {
    TWebConfig config;
    std::string error;
    if (!ReadWebConfigFile(options.configPath, config, error)) {
        return ConfigError(err, error);
    }
    InitSecrets();
    auto named =
        std::find_if(config.tokens.begin(), config.tokens.end(),
                     [&](const TWebToken& token) { return token.name == options.tokenName; });
    switch (options.command) {
    case TWebCommand::SetPassword: {
        std::string password;
        if (!ReadNewPassword(in, err, password, error)) {
            return ConfigError(err, error);
        }
        config.passwordHash = HashPassword(password, TPasswordCost::Interactive);
        WipeSecret(password);
        const int status = Write(options.configPath, config, err);
        if (status == kWebDone) {
            std::fprintf(err, "corvane-web: password stored in %s\n", options.configPath.c_str());
        }
        return status;
    }
    case TWebCommand::AddToken: {
        if (named != config.tokens.end()) {
            return ConfigError(
                err, "a token named " + options.tokenName + " exists already (revoke it first)");
        }
        std::string token = RandomHex(32);
        config.tokens.push_back({options.tokenName, SecretHash(token)});
        const int status = Write(options.configPath, config, err);
        if (status == kWebDone) {
            std::fprintf(out, "%s\n", token.c_str());
        }
        WipeSecret(token);
        return status;
    }
    case TWebCommand::RevokeToken: {
        if (named == config.tokens.end()) {
            return ConfigError(err, "no token named " + options.tokenName);
        }
        config.tokens.erase(named);
        return Write(options.configPath, config, err);
    }
    case TWebCommand::ListTokens:
        for (const TWebToken& token : config.tokens) {
            std::fprintf(out, "%s\n", token.name.c_str());
        }
        return kWebDone;
    case TWebCommand::Serve:
        break;
    }
    return RunWebServer(options, err);
}

int RunWebServer(const TWebOptions& options, std::FILE* err) {
    TWebConfig config;
    std::string error;
    if (!ReadWebConfigFile(options.configPath, config, error)) {
        return ConfigError(err, error);
    }
    const std::string refusal = StartRefusal(options, config);
    if (!refusal.empty()) {
        return ConfigError(err, refusal);
    }
    InitSecrets();
    // The resident set stays small: one heap for every thread (no arena per handler thread
    // holding its own free memory), and every block of 64 KiB or more (a login's Argon2id
    // memory, the hosts' JSON) mapped on its own and given back when freed.
    mallopt(M_ARENA_MAX, 1);
    mallopt(M_MMAP_THRESHOLD, 64 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);

    // The signals are taken by sigwait below: blocked here, before any thread starts, so that
    // every thread inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    TMonitorSettings monitorSettings;
    monitorSettings.hostsPath =
        HostsFilePath(HostsLocationFromEnvironment(options.hostsPath, std::string()));
    monitorSettings.resendMs = options.resendMs;
    monitorSettings.timeoutMs = options.wakeTimeoutMs;
    THostMonitor monitor(
        monitorSettings, [] { return CreateProber(); }, err);
    TWebSettings webSettings;
    webSettings.configPath = options.configPath;
    webSettings.secureCookies = options.secureCookies;
    webSettings.trustedProxyHeader = options.trustedProxyHeader;
    webSettings.sessionIdleMs = options.sessionDays * kDayMs;
    TWebApi api(webSettings, config, monitor, err);
    monitor.Start();
    try {
        TWebServer server(api, monitor, DottedAddressText(options.listenAddress),
                          options.listenPort);
        std::fprintf(err, "corvane-web: serving %s on http://%s:%d/\n",
                     monitorSettings.hostsPath.c_str(),
                     DottedAddressText(options.listenAddress).c_str(), server.Port());
        std::fflush(err);
        int signal = 0;
        while (sigwait(&signals, &signal) == 0 && signal == SIGHUP) {
            monitor.RequestReload();
        }
        server.Stop();
    } catch (const EWebListenError& listenError) {
        std::fprintf(err, "corvane-web: %s\n", listenError.Message().c_str());
        monitor.Stop();
        return kWebCannotListen;
    }
    monitor.Stop();
    return kWebDone;
}
