#include "ui/Unit1.h"

#include <cstdint>

#include "base/IntConv.h"
#include "wake/WakeRequest.h"

void PowerOn(TMainWindowHost& host) {
    enum class Check {
        kNone,
        kMacInvalid,
        kIpInvalid
    };

    host.ClearLog();
    Check check = Check::kNone;
    const std::string mac = host.MacText();
    if (!CheckMacAddress(mac)) {
        check = Check::kMacInvalid;
    }
    const std::string ip = host.IpText();
    if (!CheckIpAddress(ip)) {
        check = Check::kIpInvalid;
    }
    const std::string password = host.PasswordText();
    if (check == Check::kMacInvalid) {
        host.ShowMessage("Invalid MAC-Address");
        return;
    }
    if (check == Check::kIpInvalid) {
        host.ShowMessage("Invalid IP-Address");
        return;
    }

    const std::string packet = BuildMagicPacket(mac, password);
    const std::string portText = host.PortText();
    int32_t port = 0;
    if (!TryStrToInt(portText, port)) {
        host.ShowMessage(PortFieldMessage(portText));
        port = kDefaultPort;
    }
    SendMagicPacket(host.UdpClient(), packet, ip, port);

    host.AddLogLine("MagicPaket sent to:");
    host.AddLogLine("Device: " + mac);
    host.AddLogLine("BCast Domain: " + ip);
    if (!password.empty()) {
        host.AddLogLine("Sent with WOL Password");
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
