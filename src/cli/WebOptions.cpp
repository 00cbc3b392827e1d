#include "cli/WebOptions.h"

#include "base/DottedText.h"
#include "cli/CommonOptions.h"
#include "cli/OptionNumbers.h"
#include "cli/OptionWalk.h"
#include "web/WebConfig.h"

namespace {

const char* const kValueOptions[] = {"--listen",       "--hosts",     "--config",
                                     "--wake-timeout", "--resend",    "--trusted-proxy-header",
                                     "--session-days", "--add-token", "--revoke-token"};
const char* const kFlagOptions[] = {"--secure-cookies", "--set-password", "--list-tokens"};

constexpr int64_t kMaxSessionDays = 3650;

// ADDRESS:PORT, PORT 1..65535.
bool ParseListen(const std::string& text, uint32_t& address, int32_t& port) {
    const size_t colon = text.rfind(':');
    int64_t number = 0;
    if (colon == std::string::npos || !ParseDottedQuad(text.substr(0, colon), address) ||
        !ParsePositive(text.substr(colon + 1), 65535, number)) {
        return false;
    }
    port = static_cast<int32_t>(number);
    return true;
}

// An HTTP header name: letters, digits and '-' (nothing that could end a header line).
bool IsHeaderName(const std::string& name) {
    if (name.empty() || name.size() > 64) {
        return false;
    }
    for (const char c : name) {
        const bool allowed =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        if (!allowed) {
            return false;
        }
    }
    return true;
}

bool SetCommand(TWebOptions& options, TWebCommand command, const std::string& name,
                std::string& error) {
    if (options.command != TWebCommand::Serve) {
        error = "only one of --set-password, --add-token, --revoke-token, --list-tokens";
        return false;
    }
    options.command = command;
    if (command == TWebCommand::AddToken || command == TWebCommand::RevokeToken) {
        if (!IsTokenName(name)) {
            error = "a token NAME is 1 to 64 letters, digits, '.', '-' or '_', not '" + name + "'";
            return false;
        }
        options.tokenName = name;
    }
    return true;
}

bool ReadValue(const std::string& name, const std::string& value, TWebOptions& options,
               std::string& error) {
    if (name == "--secure-cookies") {
        options.secureCookies = true;
    } else if (name == "--set-password") {
        return SetCommand(options, TWebCommand::SetPassword, "", error);
    } else if (name == "--list-tokens") {
        return SetCommand(options, TWebCommand::ListTokens, "", error);
    } else if (name == "--add-token") {
        return SetCommand(options, TWebCommand::AddToken, value, error);
    } else if (name == "--revoke-token") {
        return SetCommand(options, TWebCommand::RevokeToken, value, error);
    } else if (name == "--listen") {
        if (!ParseListen(value, options.listenAddress, options.listenPort)) {
            error = "--listen needs ADDRESS:PORT such as 0.0.0.0:8089, not '" + value + "'";
            return false;
        }
    } else if (name == "--hosts" || name == "--config") {
        if (value.empty()) {
            error = name + " needs the path of a file";
            return false;
        }
        (name == "--hosts" ? options.hostsPath : options.configPath) = value;
    } else if (name == "--wake-timeout") {
        if (!ParseSeconds(value, options.wakeTimeoutMs)) {
            error = "--wake-timeout needs a positive number of seconds, not '" + value + "'";
            return false;
        }
    } else if (name == "--resend") {
        return ReadResendOption(value, options.resendMs, error);
    } else if (name == "--trusted-proxy-header") {
        if (!IsHeaderName(value)) {
            error = "--trusted-proxy-header needs a header name (letters, digits, '-'), not '" +
                    value + "'";
            return false;
        }
        options.trustedProxyHeader = value;
    } else {
        if (!ParsePositive(value, kMaxSessionDays, options.sessionDays)) {
            error = "--session-days needs a number of days from 1 to 3650, not '" + value + "'";
            return false;
        }
    }
    return true;
}

}  // namespace

const char kWebUsage[] =
    "usage: corvane-web [--listen ADDRESS:PORT] [--hosts FILE] [--config FILE]\n"
    "                   [--wake-timeout SECONDS] [--resend SECONDS] [--secure-cookies]\n"
    "                   [--trusted-proxy-header NAME] [--session-days N]\n"
    "       corvane-web [--config FILE] (--set-password | --add-token NAME |\n"
    "                   --revoke-token NAME | --list-tokens)\n"
    "Serves a web page and a JSON API to wake and watch the hosts file's machines.\n"
    "  --listen ADDRESS:PORT        where to listen (default 0.0.0.0:8089)\n"
    "  --hosts FILE                 the hosts file (default: as corvane-wake finds it)\n"
    "  --config FILE                password and token hashes (default /etc/corvane/web.conf)\n"
    "  --wake-timeout SECONDS       a wake without answer ends after this (default 120)\n"
    "  --resend SECONDS             a waking host's packet again after this (default 10; 0 never)\n"
    "  --secure-cookies             the page is reached over TLS (through a reverse proxy)\n"
    "  --trusted-proxy-header NAME  a proxy on loopback vouches for the user with this header\n"
    "  --session-days N             a session ends after N days unused (default 7)\n"
    "  --set-password               read a new password from standard input, store its hash\n"
    "  --add-token NAME             make an API token, print it once, store its hash\n"
    "  --revoke-token NAME          remove a token; a running server stops taking it\n"
    "  --list-tokens                print the tokens' names\n";

bool ParseWebOptions(const std::vector<std::string>& arguments, TWebOptions& options,
                     std::string& error) {
    const auto readValue = [&options](const std::string& name, const std::string& value,
                                      std::string& valueError) {
        return ReadValue(name, value, options, valueError);
    };
    std::vector<std::string> operands;
    if (!WalkArguments(arguments, kValueOptions, kFlagOptions, readValue, operands, options.help,
                       error)) {
        return false;
    }
    if (!operands.empty()) {
        error = "unexpected argument '" + operands.front() + "'";
        return false;
    }
    if (!options.trustedProxyHeader.empty() && !IsLoopbackAddress(options.listenAddress)) {
        error =
            "--trusted-proxy-header is allowed only with --listen on a loopback address "
            "(127.0.0.1:PORT), where only the proxy can reach the server";
        return false;
    }
    return true;
}

bool IsLoopbackAddress(uint32_t address) {
    return (address >> 24) == 127;
}
