#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/Exception.h"
#include "calc/IdNetworkCalculator.h"
#include "net/IdException.h"

namespace {

std::string Dotted(const int o[4]) {
    return std::to_string(o[0]) + "." + std::to_string(o[1]) + "." + std::to_string(o[2]) + "." +
           std::to_string(o[3]);
}

// Independent arithmetic for the cross-checks: octet by octet, no shifts of the whole value.
struct Expected {
    int address[4];
    int mask[4];
    std::string Network() const {
        int o[4];
        for (int i = 0; i < 4; ++i) {
            o[i] = address[i] & mask[i];
        }
        return Dotted(o);
    }
    std::string Broadcast() const {
        int o[4];
        for (int i = 0; i < 4; ++i) {
            o[i] = (address[i] & mask[i]) | (255 - mask[i]);
        }
        return Dotted(o);
    }
    uint64_t Count() const {
        uint64_t count = 1;
        for (int i = 0; i < 4; ++i) {
            count *= static_cast<uint64_t>(256 - mask[i]);
        }
        return count;
    }
    std::string Class() const {
        const int b = address[0];
        return b < 128 ? "A" : b < 192 ? "B" : b < 224 ? "C" : b < 240 ? "D" : "E";
    }
    bool Private() const {
        return address[0] == 10 || (address[0] == 172 && address[1] >= 16 && address[1] <= 31) ||
               (address[0] == 192 && address[1] == 168);
    }
};

// The mask of `length` leading ones, built octet by octet.
void MaskOctets(int length, int mask[4]) {
    for (int i = 0; i < 4; ++i) {
        const int bits = std::clamp(length - 8 * i, 0, 8);
        mask[i] = (0xFF00 >> bits) & 0xFF;
    }
}

std::string InvalidMaskMessage(TIdNetworkCalculator& calc, const std::string& mask) {
    try {
        calc.NetworkMask().SetAsString(mask);
    } catch (const EIdException& e) {
        return e.Message();
    }
    return "(accepted)";
}

TEST(IdNetworkCalculator, StartsWithTheHostMaskAndClassA) {
    TIdNetworkCalculator calc;
    EXPECT_EQ(calc.NetworkMask().AsString(), "255.255.255.255");
    EXPECT_EQ(calc.NetworkMaskLength(), 32u);
    EXPECT_EQ(calc.AddressClassText(), "A");
    EXPECT_EQ(calc.NetworkAddress().AsDoubleWord(), 0u);
}

TEST(IdNetworkCalculator, ComputesTheExamples) {
    struct Row {
        const char* address;
        const char* mask;
        const char* cls;
        const char* network;
        uint64_t count;
        bool isPrivate;
        const char* broadcast;
        uint32_t length;
    };
    const Row rows[] = {
        {"192.168.1.77", "255.255.255.0", "C", "192.168.1.0", 256, true, "192.168.1.255", 24},
        {"10.1.2.3", "255.0.0.0", "A", "10.0.0.0", 16777216, true, "10.255.255.255", 8},
        {"8.8.8.8", "255.0.0.0", "A", "8.0.0.0", 16777216, false, "8.255.255.255", 8},
        {"192.168.1.76", "255.255.255.254", "C", "192.168.1.76", 2, true, "192.168.1.77", 31},
        {"192.168.1.77", "255.255.255.255", "C", "192.168.1.77", 1, true, "192.168.1.77", 32},
        {"10.0.0.1", "128.0.0.0", "A", "0.0.0.0", 2147483648u, true, "127.255.255.255", 1},
        {"192.168.0.10", "0.0.0.0", "C", "0.0.0.0", 4294967296u, true, "255.255.255.255", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.address) + " / " + row.mask);
        TIdNetworkCalculator calc;
        calc.NetworkAddress().SetAsString(row.address);
        calc.NetworkMask().SetAsString(row.mask);
        EXPECT_EQ(calc.AddressClassText(), row.cls);
        EXPECT_EQ(calc.NetworkAddressText(), row.network);
        EXPECT_EQ(calc.AddressCount(), row.count);
        EXPECT_EQ(calc.IsPrivateNetwork(), row.isPrivate);
        EXPECT_EQ(calc.BroadcastAddressText(), row.broadcast);
        EXPECT_EQ(calc.NetworkMaskLength(), row.length);
    }
}

TEST(IdNetworkCalculator, JudgesPrivateAndClassByTheAddress) {
    struct Row {
        const char* address;
        bool isPrivate;
        const char* cls;
    };
    const Row rows[] = {
        {"172.16.0.1", true, "B"},  {"172.31.255.255", true, "B"}, {"172.15.0.1", false, "B"},
        {"172.32.0.1", false, "B"}, {"192.169.0.1", false, "C"},   {"11.0.0.1", false, "A"},
        {"127.0.0.1", false, "A"},  {"128.0.0.1", false, "B"},     {"223.255.255.255", false, "C"},
        {"224.0.0.1", false, "D"},  {"240.0.0.1", false, "E"},     {"255.255.255.255", false, "E"},
    };
    TIdNetworkCalculator calc;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.address);
        calc.NetworkAddress().SetAsString(row.address);
        EXPECT_EQ(calc.IsPrivateNetwork(), row.isPrivate);
        EXPECT_EQ(calc.AddressClassText(), row.cls);
    }
}

TEST(IdNetworkCalculator, RaisesOnChangeForEveryRealChange) {
    TIdNetworkCalculator calc;
    int changes = 0;
    calc.SetOnChange([&](TIdNetworkCalculator& sender) {
        EXPECT_EQ(&sender, &calc);
        ++changes;
    });
    calc.NetworkAddress().SetAsString("192.168.1.77");
    calc.NetworkMask().SetAsString("255.255.255.0");
    EXPECT_EQ(changes, 2);
    calc.NetworkAddress().SetAsString("192.168.1.77");
    calc.NetworkMask().SetAsString("255.255.255.0");
    calc.SetNetworkMaskLength(24);
    EXPECT_EQ(changes, 2);
    calc.SetNetworkMaskLength(16);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(calc.NetworkMask().AsString(), "255.255.0.0");
}

TEST(IdNetworkCalculator, RejectsANonContiguousMaskAndKeepsTheLastValidOne) {
    TIdNetworkCalculator calc;
    calc.NetworkMask().SetAsString("255.255.255.0");
    EXPECT_EQ(InvalidMaskMessage(calc, "255.0.255.0"), "Invalid network mask.");
    EXPECT_EQ(calc.NetworkMask().AsString(), "255.255.255.0");
    EXPECT_EQ(calc.NetworkMask().AsBinaryString(), std::string(24, '1') + std::string(8, '0'));
    EXPECT_EQ(calc.NetworkMaskLength(), 24u);
}

TEST(IdNetworkCalculator, ARejectedMaskNotifiesOnlyForTheRestoredMask) {
    TIdNetworkCalculator calc;
    calc.NetworkMask().SetAsString("255.255.255.0");
    std::vector<std::string> seen;  // the mask as each notification finds it
    calc.SetOnChange([&](TIdNetworkCalculator& c) {
        seen.push_back(c.NetworkMask().AsString() + "/" + std::to_string(c.NetworkMaskLength()));
    });
    EXPECT_EQ(InvalidMaskMessage(calc, "255.255.0.255"), "Invalid network mask.");
    EXPECT_EQ(seen, std::vector<std::string>{"255.255.255.0/24"});
}

TEST(IdNetworkCalculator, HandlersThatAssignAgainLeaveMaskAndLengthInStep) {
    struct Row {
        const char* name;
        const char* assigned;  // mask assigned by the test
        bool rejected;
        const char* finalMask;
        uint32_t finalLength;
    };
    // The handler answers the first notification by narrowing the mask to /16, re-entering the
    // mask check from inside it (also from inside the restore of a rejected mask).
    const Row rows[] = {
        {"valid mask", "255.255.255.128", false, "255.255.0.0", 16},
        {"rejected mask", "255.0.255.0", true, "255.255.0.0", 16},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TIdNetworkCalculator calc;
        calc.NetworkMask().SetAsString("255.255.255.0");
        int notifications = 0;
        calc.SetOnChange([&](TIdNetworkCalculator& c) {
            if (++notifications == 1) {
                c.NetworkMask().SetAsString("255.255.0.0");
            }
        });
        EXPECT_EQ(InvalidMaskMessage(calc, row.assigned),
                  row.rejected ? "Invalid network mask." : "(accepted)");
        EXPECT_EQ(calc.NetworkMask().AsString(), row.finalMask);
        EXPECT_EQ(calc.NetworkMaskLength(), row.finalLength);
        EXPECT_EQ(notifications, 2);
        EXPECT_EQ(calc.BroadcastAddressText(), "0.0.255.255");
    }
}

TEST(IdNetworkCalculator, FailedAddressTextKeepsAddressAndClass) {
    TIdNetworkCalculator calc;
    calc.NetworkAddress().SetAsString("192.168.1.77");
    int notifications = 0;
    calc.SetOnChange([&](TIdNetworkCalculator&) { ++notifications; });
    EXPECT_THROW(calc.NetworkAddress().SetAsString("10.1.2"), Exception);
    EXPECT_THROW(calc.NetworkAddress().SetAsString("10.1.2.256"), EIdException);
    EXPECT_EQ(calc.NetworkAddress().AsString(), "192.168.1.77");
    EXPECT_EQ(calc.AddressClassText(), "C");
    EXPECT_EQ(notifications, 0);
}

TEST(IdNetworkCalculator, TakesAMaskAsBinaryText) {
    TIdNetworkCalculator calc;
    calc.NetworkMask().SetAsBinaryString(std::string(24, '1') + std::string(8, '0'));
    EXPECT_EQ(calc.NetworkMask().AsString(), "255.255.255.0");
    EXPECT_EQ(calc.NetworkMaskLength(), 24u);
}

TEST(IdNetworkCalculator, MaskLengthSetsTheMaskAndRejectsMoreThan32) {
    TIdNetworkCalculator calc;
    for (uint32_t length = 0; length <= 32; ++length) {
        SCOPED_TRACE(length);
        calc.SetNetworkMaskLength(length);
        int mask[4];
        MaskOctets(static_cast<int>(length), mask);
        EXPECT_EQ(calc.NetworkMask().AsString(), Dotted(mask));
        EXPECT_EQ(calc.NetworkMaskLength(), length);
    }
    calc.SetNetworkMaskLength(20);
    EXPECT_THROW(calc.SetNetworkMaskLength(33), EIdException);
    EXPECT_THROW(calc.SetNetworkMaskLength(0xFFFFFFFF), EIdException);
    EXPECT_EQ(calc.NetworkMaskLength(), 20u);
    EXPECT_EQ(calc.NetworkMask().AsString(), "255.255.240.0");
}

TEST(IdNetworkCalculator, TellsWhetherAnAddressIsInTheNetwork) {
    TIdNetworkCalculator calc;
    calc.NetworkAddress().SetAsString("192.168.1.77");
    calc.NetworkMask().SetAsString("255.255.255.0");
    EXPECT_TRUE(calc.IsAddressInNetwork("192.168.1.200"));
    EXPECT_FALSE(calc.IsAddressInNetwork("192.168.2.1"));
    EXPECT_THROW(calc.IsAddressInNetwork("192.168.1"), Exception);
}

TEST(IdNetworkCalculator, AgreesWithOctetArithmeticForRandomNetworks) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> octet(0, 255);
    std::uniform_int_distribution<int> length(0, 32);
    TIdNetworkCalculator calc;
    for (int run = 0; run < 20000; ++run) {
        Expected e{};
        for (int& o : e.address) {
            o = octet(random);
        }
        const int bits = length(random);
        MaskOctets(bits, e.mask);
        calc.NetworkAddress().SetAsString(Dotted(e.address));
        calc.NetworkMask().SetAsString(Dotted(e.mask));
        if (calc.NetworkAddressText() != e.Network() ||
            calc.BroadcastAddressText() != e.Broadcast() || calc.AddressCount() != e.Count() ||
            calc.AddressClassText() != e.Class() || calc.IsPrivateNetwork() != e.Private() ||
            calc.NetworkMaskLength() != static_cast<uint32_t>(bits)) {
            ADD_FAILURE() << Dotted(e.address) << " / " << Dotted(e.mask) << ": network "
                          << calc.NetworkAddressText() << ", broadcast "
                          << calc.BroadcastAddressText() << ", count " << calc.AddressCount()
                          << ", class " << calc.AddressClassText() << ", length "
                          << calc.NetworkMaskLength();
            return;
        }
    }
}

TEST(IdNetworkCalculator, RejectsEveryNonContiguousMask) {
    // Every contiguous mask with one bit flipped that is no longer contiguous, plus random
    // values whose bits are checked for a one after a zero.
    std::set<uint32_t> masks;
    for (int len = 0; len <= 32; ++len) {
        const uint64_t contiguous = len == 0 ? 0 : (0xFFFFFFFFull << (32 - len)) & 0xFFFFFFFF;
        for (int bit = 0; bit < 32; ++bit) {
            masks.insert(static_cast<uint32_t>(contiguous ^ (uint64_t{1} << bit)));
        }
    }
    std::mt19937 random(7);
    for (int i = 0; i < 2000; ++i) {
        masks.insert(static_cast<uint32_t>(random()));
    }
    auto isContiguous = [](uint32_t mask) {
        bool seenZero = false;
        for (int bit = 31; bit >= 0; --bit) {
            const bool one = (mask >> bit) & 1;
            if (one && seenZero) {
                return false;
            }
            seenZero = seenZero || !one;
        }
        return true;
    };
    TIdNetworkCalculator calc;
    uint32_t previous = 32;
    int rejected = 0;
    for (uint32_t mask : masks) {
        if (isContiguous(mask)) {
            continue;
        }
        ++rejected;
        previous = (previous * 7 + 3) % 33;  // a different valid mask before each attempt
        calc.SetNetworkMaskLength(previous);
        const uint32_t before = calc.NetworkMask().AsDoubleWord();
        bool threw = false;
        try {
            calc.NetworkMask().SetAsDoubleWord(mask);
        } catch (const EIdException& e) {
            threw = e.Message() == "Invalid network mask.";
        }
        if (!threw || calc.NetworkMask().AsDoubleWord() != before ||
            calc.NetworkMaskLength() != previous) {
            ADD_FAILURE() << "mask " << std::hex << mask << " after length " << std::dec
                          << previous;
            return;
        }
    }
    EXPECT_GT(rejected, 900);
}

}  // namespace
