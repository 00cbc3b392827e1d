#include <gtest/gtest.h>

#include "calc/BroadCastCalc.h"

namespace {

TEST(BroadCastCalc, ResultLinesForTypicalAndEdgeMasks) {
    struct Row {
        const char* address;
        const char* mask;
        std::vector<std::string> lines;
        const char* broadcast;
    };
    const Row rows[] = {
        {"192.168.0.10",
         "255.255.255.0",
         {"Network-Class: C", "Network: 192.168.0.0", "# of Hosts: 254", "private network"},
         "192.168.0.255"},
        {"8.8.8.8",
         "255.0.0.0",
         {"Network-Class: A", "Network: 8.0.0.0", "# of Hosts: 16777214", "public network"},
         "8.255.255.255"},
        {"130.1.2.3",
         "255.255.255.255",
         {"Network-Class: B", "Network: 130.1.2.3", "# of Hosts: -1", "public network"},
         "130.1.2.3"},
        {"130.1.2.3",
         "255.255.255.254",
         {"Network-Class: B", "Network: 130.1.2.2", "# of Hosts: 0", "public network"},
         "130.1.2.3"},
        {"130.1.2.3",
         "128.0.0.0",
         {"Network-Class: B", "Network: 128.0.0.0", "# of Hosts: 2147483646", "public network"},
         "255.255.255.255"},
        {"0.0.0.0",
         "0.0.0.0",
         {"Network-Class: A", "Network: 0.0.0.0", "# of Hosts: 4294967294", "public network"},
         "255.255.255.255"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.address) + " / " + row.mask);
        TIdNetworkCalculator calculator;
        calculator.NetworkAddress().SetAsString(row.address);
        calculator.NetworkMask().SetAsString(row.mask);
        EXPECT_EQ(CalculatorResultLines(calculator), row.lines);
        EXPECT_EQ(calculator.BroadcastAddressText(), row.broadcast);
    }
}

}  // namespace
