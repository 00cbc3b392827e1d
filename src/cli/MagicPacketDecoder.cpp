#include "cli/MagicPacketDecoder.h"

namespace {

constexpr size_t kAddressBytes = 6;
constexpr size_t kAddressCopies = 16;
constexpr size_t kMagicPacketSize = kAddressBytes * (kAddressCopies + 1);

// Lower-case hex pairs of the bytes joined by `separator`.
std::string HexBytes(std::string_view bytes, char separator) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            text += separator;
        }
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

}  // namespace

bool DecodeMagicPacket(std::string_view data, TMagicPacket& packet) {
    if (data.size() < kMagicPacketSize ||
        data.substr(0, kAddressBytes).find_first_not_of('\xFF') != std::string_view::npos) {
        return false;
    }
    const std::string_view address = data.substr(kAddressBytes, kAddressBytes);
    for (size_t copy = 1; copy < kAddressCopies; ++copy) {
        if (data.substr(kAddressBytes * (copy + 1), kAddressBytes) != address) {
            return false;
        }
    }
    packet.address = address;
    packet.password = data.substr(kMagicPacketSize);
    return true;
}

std::string DescribeDatagram(std::string_view data) {
    TMagicPacket packet;
    if (!DecodeMagicPacket(data, packet)) {
        return "not a magic packet";
    }
    std::string text = "magic packet for " + HexBytes(packet.address, '-');
    if (!packet.password.empty()) {
        text += ", password " + std::to_string(packet.password.size()) +
                " bytes: " + HexBytes(packet.password, ' ');
    }
    return text;
}

std::string FormatDatagramLine(const std::string& senderAddress, uint16_t senderPort,
                               std::string_view data) {
    return "from " + senderAddress + ":" + std::to_string(senderPort) + ", " +
           std::to_string(data.size()) + " bytes: " + DescribeDatagram(data);
}
