// The two address checks and the packet builder on any text. A text that passes the IP check is
// short and made of digits and dots; a built packet is always 102 bytes plus the password.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/Exception.h"
#include "wake/WakeRequest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (CheckIpAddress(text) &&
        (text.size() > 15 || text.find_first_not_of("0123456789.") != std::string::npos)) {
        std::abort();
    }
    const bool macValid = CheckMacAddress(text);
    if (macValid && text.size() < 17) {
        std::abort();
    }
    // The builder is only given checked texts by its callers, but must be safe on any text.
    const std::string password = text.substr(0, text.size() / 2);
    try {
        if (BuildMagicPacket(text, password).size() != 102 + password.size()) {
            std::abort();
        }
    } catch (const EConvertError&) {
    }
    return 0;
}
