#include "ui/Unit1.h"

#include <cstdint>

#include "base/IntConv.h"
#include "wake/WakeRequest.h"

void StartFromCommandLine(TMainWindowHost& host, const std::vector<std::string>& arguments) {
    if (RunCommandLine(arguments, host).outcome == TCommandLineOutcome::Sent) {
        host.CloseMainWindow();
    }
}

void PowerOn(TMainWindowHost& host) {
    host.ClearLog();
    TWakeRequest request;
    request.mac = host.MacText();
    request.ip = host.IpText();
    request.password = host.PasswordText();
    // Read only once the packet is built; any integer is passed on, without a range check.
    const auto readPortField = [&host] {
        const std::string portText = host.PortText();
        int32_t port = 0;
        if (!TryStrToInt(portText, port)) {
            host.ShowMessage(PortFieldMessage(portText));
            port = kDefaultPort;
        }
        return port;
    };
    if (CheckBuildAndSend(host, request, readPortField)) {
        LogSentWake(host, request);
    }
}

std::string PortFieldMessage(const std::string& portText) {
    return portText + " is not a valid integer value.\r\nNow using default Port udp/26354";
}

std::string HelpFilePath(const std::string& exePath) {
    const std::size_t separator = exePath.find_last_of("\\:");
    const std::string directory =
        separator == std::string::npos ? std::string() : exePath.substr(0, separator + 1);
    return directory + "help/index.html";
}
