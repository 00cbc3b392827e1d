#include "wake/CommandLineWake.h"

#include <string_view>

#include "base/IntConv.h"

namespace {

constexpr std::string_view kPasswordSwitch = "/pw:";
constexpr std::string_view kPortSwitch = "/port:";

// Applies one "/port:" text: a converted value outside 1..65535 falls back to the default
// port, a text that does not convert keeps the port as it was.
void ApplyPortText(const std::string& portText, int32_t& port, TWakeHost& host) {
    int32_t value = 0;
    if (!TryStrToInt(portText, value)) {
        host.ShowMessage(portText + " is not a valid Port");
        return;
    }
    port = value;
    if (value < 1 || value > 65535) {
        host.ShowMessage("Portnumber out of range (1..65535) - using default port 26354");
        port = kDefaultPort;
    }
}

}  // namespace

const std::string kUsageMessage =
    "Wrong CLI parameters!\n\rUsage: \n\rcorvane <mac-addr> <broadcast ip-addr> "
    "[/pw:<password>] [/port:<Portnummer>]\n\r<mac-addr> format: xx-xx-xx-xx-xx-xx\n\r"
    "<broadcast ip-addr> example: 192.168.0.255\n\r[/pw:<password>] is optional (WOL "
    "Password)\n\r[/port:<Portnummer>] is optional (default: 26354";

TCommandLineResult RunCommandLine(const std::vector<std::string>& arguments, TWakeHost& host) {
    const size_t count = arguments.size();
    if (count == 0) {
        host.AddLogLine("CorVane 1.0a");
        host.AddLogLine(std::string(24, '-'));
        return {TCommandLineOutcome::Banner, {}};
    }
    if (count == 1 || count >= 5) {
        host.ShowMessage(kUsageMessage);
        return {TCommandLineOutcome::Usage, {}};
    }

    TWakeRequest request;
    request.mac = arguments[0];
    request.ip = arguments[1];
    // Every option argument is tested for both switches; the first occurrence of each counts.
    // The address checks are reported only after every port message.
    for (size_t i = 2; i < count; ++i) {
        const std::string& argument = arguments[i];
        const size_t passwordAt = argument.find(kPasswordSwitch);
        if (passwordAt != std::string::npos) {
            request.password = argument.substr(passwordAt + kPasswordSwitch.size());
        }
        const size_t portAt = argument.find(kPortSwitch);
        if (portAt != std::string::npos) {
            ApplyPortText(argument.substr(portAt + kPortSwitch.size()), request.port, host);
        }
    }
    if (!CheckBuildAndSend(host, request)) {
        return {TCommandLineOutcome::CheckFailed, request};
    }
    return {TCommandLineOutcome::Sent, request};
}
