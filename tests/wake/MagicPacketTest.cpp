#include <gtest/gtest.h>

#include "wake/MagicPacket.h"
#include "wake/WakeRequest.h"

namespace {

TEST(MagicPacketDecoder, DescribesWhatTheBuilderMakes) {
    const struct {
        std::string mac;
        std::string password;
        std::string description;
    } rows[] = {
        {"00-11-22-33-44-55", "", "magic packet for 00-11-22-33-44-55"},
        {"AA-bb-CC-dd-EE-ff", "", "magic packet for aa-bb-cc-dd-ee-ff"},
        {"00-11-22-33-44-55", "abc",
         "magic packet for 00-11-22-33-44-55, password 3 bytes: 61 62 63"},
        {"ff-ff-ff-ff-ff-ff", std::string("\0\xFF", 2),
         "magic packet for ff-ff-ff-ff-ff-ff, password 2 bytes: 00 ff"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mac + " " + row.password);
        EXPECT_EQ(DescribeDatagram(BuildMagicPacket(row.mac, row.password)), row.description);
    }
}

TEST(MagicPacketDecoder, RejectsWhatIsNotAMagicPacket) {
    const std::string good = BuildMagicPacket("00-11-22-33-44-55", "");
    std::string badSync = good;
    badSync[5] = '\xFE';
    std::string badCopy = good;
    badCopy[101] = '\x56';
    const std::string rows[] = {
        "", good.substr(0, 101), badSync, badCopy, std::string(101, '\xFF'), "hello",
    };
    for (const std::string& data : rows) {
        SCOPED_TRACE(data.size());
        EXPECT_EQ(DescribeDatagram(data), "not a magic packet");
    }
}

TEST(MagicPacketDecoder, FormatsTheMonitorLine) {
    EXPECT_EQ(FormatDatagramLine("127.0.0.1", 40000, BuildMagicPacket("00-11-22-33-44-55", "")),
              "from 127.0.0.1:40000, 102 bytes: magic packet for 00-11-22-33-44-55");
    EXPECT_EQ(FormatDatagramLine("10.0.0.2", 9, ""),
              "from 10.0.0.2:9, 0 bytes: not a magic packet");
}

}  // namespace
