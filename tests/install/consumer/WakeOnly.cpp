#include <cstdio>

#include "calc/IdNetworkCalculator.h"
#include "wake/WakeRequest.h"

int main() {
    const bool ok = BuildMagicPacket("00-11-22-33-44-55", "ab").size() == 104 &&
                    CheckIpAddress("127.255.255.255") && !CheckMacAddress("00-11");
    std::printf("wake logic %s\n", ok ? "works" : "FAILED");
    return ok ? 0 : 1;
}
