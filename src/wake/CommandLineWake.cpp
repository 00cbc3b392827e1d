#include "wake/CommandLineWake.h"

#include <string_view>

#include "base/IntConv.h"

namespace {

enum class TCheckResult {
    None,
    MacInvalid,
    IpInvalid
};

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

void RunCommandLine(const std::vector<std::string>& arguments, TWakeHost& host) {
    TCommandLineRequest request;
    RunCommandLine(arguments, host, request);
}

void RunCommandLine(const std::vector<std::string>& arguments, TWakeHost& host,
                    TCommandLineRequest& request) {
    const size_t count = arguments.size();
    if (count == 0) {
        host.AddLogLine("CorVane 1.0a");
        host.AddLogLine(std::string(24, '-'));
        return;
    }
    if (count == 1 || count >= 5) {
        host.ShowMessage(kUsageMessage);
        return;
    }

    request.mac = arguments[0];
    request.ip = arguments[1];
    // Both checks run before the options; the IP result overrides the MAC result.
    TCheckResult check = TCheckResult::None;
    if (!CheckMacAddress(request.mac)) {
        check = TCheckResult::MacInvalid;
    }
    if (!CheckIpAddress(request.ip)) {
        check = TCheckResult::IpInvalid;
    }

    // Every option argument is tested for both switches; the first occurrence of each counts.
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

    if (check == TCheckResult::MacInvalid) {
        host.ShowMessage("Invalid MAC-Address");
        return;
    }
    if (check == TCheckResult::IpInvalid) {
        host.ShowMessage("Invalid IP-Address");
        return;
    }

    const std::string packet = BuildMagicPacket(request.mac, request.password);
    SendMagicPacket(host.UdpClient(), packet, request.ip, request.port);
    host.CloseMainWindow();
}
