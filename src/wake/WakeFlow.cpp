#include "wake/WakeFlow.h"

bool CheckBuildAndSend(TWakeHost& host, TWakeRequest& request,
                       const std::function<int32_t()>& readPort) {
    switch (CheckAddresses(request.mac, request.ip)) {
    case TAddressCheck::MacInvalid:
        host.ShowMessage("Invalid MAC-Address");
        return false;
    case TAddressCheck::IpInvalid:
        host.ShowMessage("Invalid IP-Address");
        return false;
    case TAddressCheck::Passed:
        break;
    }
    const std::string packet = BuildMagicPacket(request.mac, request.password);
    if (readPort) {
        request.port = readPort();
    }
    SendMagicPacket(host.UdpClient(), packet, request.ip, request.port);
    return true;
}

void LogSentWake(TWakeHost& host, const TWakeRequest& request) {
    host.AddLogLine("MagicPaket sent to:");
    host.AddLogLine("Device: " + request.mac);
    host.AddLogLine("BCast Domain: " + request.ip);
    if (!request.password.empty()) {
        host.AddLogLine("Sent with WOL Password");
    }
}
