#include "wake/MagicPacket.h"

#include <algorithm>

#include "base/Exception.h"
#include "base/IntConv.h"

namespace {

constexpr size_t kAddressBytes = 6;
constexpr size_t kAddressCopies = 16;
constexpr size_t kMagicPacketSize = kAddressBytes * (kAddressCopies + 1);
constexpr char kSyncByte = static_cast<char>(0xFF);

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

std::string BuildMagicPacket(const std::string& mac, const std::string& password) {
    // The first twelve characters of the MAC text once every '-' is removed; a shorter
    // remainder leaves the last pairs short, and a short pair is a conversion error like any
    // other pair that is not two hex digits.
    std::string digits;
    digits.reserve(2 * kAddressBytes);
    for (size_t i = 0; i < mac.size() && digits.size() < 2 * kAddressBytes; ++i) {
        if (mac[i] != '-') {
            digits += mac[i];
        }
    }

    char address[kAddressBytes];
    for (size_t i = 0; i < kAddressBytes; ++i) {
        std::string pair(1, '$');
        pair.append(digits, std::min(2 * i, digits.size()), 2);
        if (pair.size() != 3) {
            throw EConvertError(ConvertErrorMessage(pair));
        }
        address[i] = static_cast<char>(StrToInt(pair) & 0xFF);
    }

    std::string packet;
    packet.reserve(kMagicPacketSize + password.size());
    packet.append(kAddressBytes, kSyncByte);
    for (size_t copy = 0; copy < kAddressCopies; ++copy) {
        packet.append(address, kAddressBytes);
    }
    packet += password;
    return packet;
}

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
