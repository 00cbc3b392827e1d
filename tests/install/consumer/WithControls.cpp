#include <cstdio>

#include "controls/JvIPAddress.h"

int main() {
    const bool ok = OctetsText(AddressTextOctets("10.1.2.3")) == "10.1.2.3";
    std::printf("controls %s\n", ok ? "work" : "FAILED");
    return ok ? 0 : 1;
}
