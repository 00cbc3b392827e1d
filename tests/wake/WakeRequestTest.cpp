#include <gtest/gtest.h>

#include "base/Exception.h"
#include "wake/WakeRequest.h"

namespace {

std::string Packet(const std::string& address, const std::string& password = "") {
    std::string packet(6, '\xFF');
    for (int i = 0; i < 16; ++i) {
        packet += address;
    }
    return packet + password;
}

// Builds and expects the conversion error with `text` in place of %s.
void ExpectConvertError(const std::string& mac, const std::string& text) {
    try {
        BuildMagicPacket(mac, "");
        ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'" + text + "' ist kein gültiger Integerwert");
    }
}

TEST(WakeRequest, MacCheckFindsSixPairsAnywhere) {
    const struct {
        std::string text;
        bool valid;
    } rows[] = {
        {"00-11-22-33-44-55", true},
        {"aa-BB-cc-DD-ee-FF", true},
        {"xx00-11-22-33-44-55", true},
        {"a00-11-22-33-44-55", true},
        {"00-11-22-33-44-55-66", true},
        {"00-11-22-33-44-55 trailing", true},
        {std::string("\0\xFF", 2) + "00-11-22-33-44-55", true},
        {"00:11:22:33:44:55", false},
        {"00-11-22-33-44-5", false},
        {"0011-22-33-44-55", false},
        {"00.11.22.33.44.55", false},
        {"00 11 22 33 44 55", false},
        {"00-11-22-33-44-5g", false},
        {"", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(CheckMacAddress(row.text), row.valid);
    }
}

TEST(WakeRequest, AddressCheckTakesTheIpResultLast) {
    const std::string mac = "00-11-22-33-44-55";
    const std::string ip = "192.168.0.255";
    const struct {
        std::string mac;
        std::string ip;
        TAddressCheck check;
    } rows[] = {
        {mac, ip, TAddressCheck::Passed},
        {"00:11:22:33:44:55", ip, TAddressCheck::MacInvalid},
        {mac, "192.168.0.0", TAddressCheck::IpInvalid},
        {"", "", TAddressCheck::IpInvalid},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mac + " / " + row.ip);
        EXPECT_EQ(CheckAddresses(row.mac, row.ip), row.check);
    }
}

TEST(WakeRequest, IpCheckNeedsTheWholeText) {
    const struct {
        std::string text;
        bool valid;
    } rows[] = {
        {"192.168.0.255", true},
        {"255.255.255.255", true},
        {"10.0.0.1", true},
        {"10.0.0.01", true},
        {"192.168.0.10", true},
        {"0.0.0.9", true},
        {"249.250.199.100", true},
        {"192.168.0.0", false},
        {"010.0.0.1", false},
        {"256.1.1.1", false},
        {"1.2.3", false},
        {"1.2.3.4.5", false},
        {"1.2.3.4 ", false},
        {" 1.2.3.4", false},
        {"1.2.3.4\n", false},
        {"", false},
        {"1.2.3.00", false},
        {"1.2.3.010", false},
        {"1.2.3.256", false},
        {"+1.2.3.4", false},
        {"1..3.4", false},
        {"1.2.3.", false},
        {std::string("1.2.3.4\0", 8), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(CheckIpAddress(row.text), row.valid);
    }
}

TEST(WakeRequest, PacketIsSyncBytesThenSixteenCopies) {
    const struct {
        std::string mac;
        std::string password;
        const char* address;  // six bytes
    } rows[] = {
        {"00-11-22-33-44-55", "", "\x00\x11\x22\x33\x44\x55"},
        {"aa-BB-cc-DD-ee-FF", "", "\xAA\xBB\xCC\xDD\xEE\xFF"},
        {"a00-11-22-33-44-55", "", "\xA0\x01\x12\x23\x34\x45"},
        {"00-11-22-33-44-55-66", "", "\x00\x11\x22\x33\x44\x55"},
        {"00-11-22-33-44-55", "abc", "\x00\x11\x22\x33\x44\x55"},
        {"00-11-22-33-44-55", std::string("\0\xFF-", 3), "\x00\x11\x22\x33\x44\x55"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mac);
        const std::string address(row.address, 6);
        const std::string packet = BuildMagicPacket(row.mac, row.password);
        EXPECT_EQ(packet.size(), 102 + row.password.size());
        EXPECT_EQ(packet, Packet(address, row.password));
    }
}

TEST(WakeRequest, LongPasswordIsAppendedWhole) {
    const std::string password(1 << 20, 'p');
    EXPECT_EQ(BuildMagicPacket("00-11-22-33-44-55", password).size(), 102 + password.size());
}

TEST(WakeRequest, PairThatIsNotHexIsAConversionError) {
    const struct {
        std::string mac;
        std::string text;
    } rows[] = {
        {"xx00-11-22-33-44-55", "$xx"},
        {"zz-11-22-33-44-55", "$zz"},
        {"0 -11-22-33-44-55", "$0 "},
        {"+1-11-22-33-44-55", "$+1"},
        {std::string("0\0-11-22-33-44-55", 17), std::string("$0\0", 3)},
        // Fewer than twelve characters after removing the dashes: the short pair is the error.
        {"00-11-22-33-44-5", "$5"},
        {"00-11", "$"},
        {"", "$"},
        {"-----", "$"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mac);
        ExpectConvertError(row.mac, row.text);
    }
}

TEST(WakeRequest, HugeInputsAreHandled) {
    const std::string huge(1 << 20, '-');
    EXPECT_FALSE(CheckMacAddress(huge));
    EXPECT_FALSE(CheckIpAddress(huge));
    ExpectConvertError(huge, "$");
    const std::string hugeMac = std::string(1 << 20, '0') + "-11-22-33-44-55";
    EXPECT_TRUE(CheckMacAddress(hugeMac));
    EXPECT_EQ(BuildMagicPacket(hugeMac, "").size(), 102u);
    EXPECT_FALSE(CheckIpAddress(std::string(1 << 20, '1')));
    EXPECT_FALSE(CheckIpAddress("1.2.3." + std::string(1 << 20, '1')));
}

}  // namespace
