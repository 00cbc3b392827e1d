#include <gtest/gtest.h>

#include <deque>
#include <random>

#include "base/DottedText.h"
#include "relay/RelayPolicy.h"
#include "wake/MagicPacket.h"

namespace {

const std::string kMagic = BuildMagicPacket("00-11-22-33-44-55", "");

uint32_t Address(const std::string& text) {
    uint32_t value = 0;
    EXPECT_TRUE(ParseDottedQuad(text, value)) << text;
    return value;
}

TEST(RelayPolicy, ForwardsOnlyMagicPacketsInEveryForm) {
    std::string differingCopy = kMagic;
    differingCopy[6 * 16] ^= 1;  // the last copy's first byte
    std::string wrongHeader = kMagic;
    wrongHeader[5] = '\xFE';
    const struct {
        const char* name;
        std::string data;
        bool forwarded;
    } rows[] = {
        {"no password", kMagic, true},
        {"four-byte password", BuildMagicPacket("00-11-22-33-44-55", "abcd"), true},
        {"six-byte password", BuildMagicPacket("00-11-22-33-44-55", "abcdef"), true},
        {"one-byte password", BuildMagicPacket("aa-bb-cc-dd-ee-ff", "x"), true},
        {"password of 65405 bytes", kMagic + std::string(65405, '\0'), true},
        {"one byte too short", kMagic.substr(0, 101), false},
        {"empty", "", false},
        {"copies that differ", differingCopy, false},
        {"a wrong header", wrongHeader, false},
        {"header only", std::string(6, '\xFF'), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TRelayPolicy policy({}, 2000, 20);
        EXPECT_EQ(policy.Judge(row.data, Address("10.0.1.2"), 40000, 0),
                  row.forwarded ? TRelayVerdict::Forward : TRelayVerdict::NotMagicPacket);
    }
}

TEST(RelayPolicy, ForwardsTheSameBytesOnceWithinTheWindow) {
    const std::string other = BuildMagicPacket("00-11-22-33-44-66", "");
    const struct {
        int64_t atMs;
        const std::string* data;
        TRelayVerdict verdict;
    } steps[] = {
        {0, &kMagic, TRelayVerdict::Forward},    {1, &kMagic, TRelayVerdict::Repeat},
        {1, &other, TRelayVerdict::Forward},     {1999, &kMagic, TRelayVerdict::Repeat},
        {2000, &kMagic, TRelayVerdict::Forward},  // the window runs from the forward
        {2001, &other, TRelayVerdict::Forward},  {3999, &kMagic, TRelayVerdict::Repeat},
    };
    TRelayPolicy policy({}, 2000, 20);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.atMs);
        EXPECT_EQ(policy.Judge(*step.data, Address("10.0.1.2"), 40000, step.atMs), step.verdict);
    }
    EXPECT_EQ(policy.DropText(TRelayVerdict::Repeat), "dropped: repeat within 2 s");
    EXPECT_EQ(TRelayPolicy({}, 1500, 20).DropText(TRelayVerdict::Repeat),
              "dropped: repeat within 1.5 s");
    EXPECT_EQ(SecondsText(250), "0.25");
}

TEST(RelayPolicy, WindowZeroForwardsEveryRepeat) {
    TRelayPolicy policy({}, 0, 20);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(policy.Judge(kMagic, Address("10.0.1.2"), 40000, 0), TRelayVerdict::Forward);
    }
}

TEST(RelayPolicy, RateLimitsForwardsInAnyOneSecond) {
    TRelayPolicy policy({}, 2000, 3);
    auto packet = [](int n) { return BuildMagicPacket("00-11-22-33-44-55", std::to_string(n)); };
    const struct {
        int64_t atMs;
        TRelayVerdict verdict;
    } steps[] = {
        {0, TRelayVerdict::Forward},      {10, TRelayVerdict::Forward},
        {900, TRelayVerdict::Forward},    {950, TRelayVerdict::RateLimit},
        {999, TRelayVerdict::RateLimit},  {1000, TRelayVerdict::Forward},  // the one at 0 left
        {1009, TRelayVerdict::RateLimit}, {1010, TRelayVerdict::Forward},
        {1899, TRelayVerdict::RateLimit}, {5000, TRelayVerdict::Forward},
    };
    int n = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.atMs);
        EXPECT_EQ(policy.Judge(packet(n++), Address("10.0.1.2"), 40000, step.atMs), step.verdict);
    }
    // A packet dropped by the rate is not remembered, so its repeat may go out later.
    TRelayPolicy one({}, 2000, 1);
    EXPECT_EQ(one.Judge(packet(1), Address("10.0.1.2"), 1, 0), TRelayVerdict::Forward);
    EXPECT_EQ(one.Judge(packet(2), Address("10.0.1.2"), 1, 500), TRelayVerdict::RateLimit);
    EXPECT_EQ(one.Judge(packet(2), Address("10.0.1.2"), 1, 1000), TRelayVerdict::Forward);
}

TEST(RelayPolicy, AllowListAcceptsEveryPrefixLength) {
    for (uint32_t prefix = 0; prefix <= 32; ++prefix) {
        SCOPED_TRACE(prefix);
        TCidr range;
        ASSERT_TRUE(ParseCidr("10.20.30.40/" + std::to_string(prefix), range));
        const TAllowList allow({range});
        const uint32_t base = Address("10.20.30.40");
        EXPECT_TRUE(allow.Allows(base));
        // The last bit inside the prefix decides; the first bit outside it does not.
        if (prefix > 0) {
            EXPECT_FALSE(allow.Allows(base ^ (1u << (32 - prefix))));
        }
        if (prefix < 32) {
            EXPECT_TRUE(allow.Allows(base ^ (1u << (31 - prefix))));
        }
    }
    TRelayPolicy policy(TAllowList({{Address("10.0.1.0"), 24}, {Address("10.8.0.7"), 32}}), 0, 20);
    EXPECT_EQ(policy.Judge(kMagic, Address("10.0.1.254"), 1, 0), TRelayVerdict::Forward);
    EXPECT_EQ(policy.Judge(kMagic, Address("10.8.0.7"), 1, 0), TRelayVerdict::Forward);
    EXPECT_EQ(policy.Judge(kMagic, Address("10.8.0.8"), 1, 0), TRelayVerdict::SourceNotAllowed);
    EXPECT_EQ(policy.Judge("junk", Address("10.0.2.1"), 1, 0), TRelayVerdict::SourceNotAllowed);
}

TEST(RelayPolicy, ParsesCidrTexts) {
    const struct {
        const char* text;
        bool ok;
        const char* network;
        uint32_t prefix;
    } rows[] = {
        {"10.0.1.7/24", true, "10.0.1.0", 24}, {"10.0.1.7", true, "10.0.1.7", 32},
        {"1.2.3.4/0", true, "0.0.0.0", 0},     {"10.0.1.0/33", false, "", 0},
        {"10.0.1.0/", false, "", 0},           {"10.0.1.0/-1", false, "", 0},
        {"10.0.1/24", false, "", 0},           {"10.0.1.256/24", false, "", 0},
        {" 10.0.1.0/24", false, "", 0},        {"10.0.1.0/024", false, "", 0},
        {"0x0A.0.1.0/8", false, "", 0},        {"", false, "", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        TCidr range;
        ASSERT_EQ(ParseCidr(row.text, range), row.ok);
        if (row.ok) {
            EXPECT_EQ(DottedAddressText(range.network), row.network);
            EXPECT_EQ(range.prefix, row.prefix);
        }
    }
}

TEST(RelayPolicy, DropsItsOwnDatagramsButNotOthersFromThisMachine) {
    TRelayPolicy policy({}, 0, 20);
    EXPECT_EQ(policy.Judge(kMagic, Address("10.0.2.1"), 50000, 0), TRelayVerdict::Forward)
        << "before the sending socket exists nothing is the relay's own";
    policy.SetOwnSender({Address("10.0.1.1"), Address("10.0.2.1")}, 50000);
    const struct {
        const char* source;
        uint16_t port;
        TRelayVerdict verdict;
    } rows[] = {
        {"10.0.2.1", 50000, TRelayVerdict::FromThisRelay},
        {"10.0.1.1", 50000, TRelayVerdict::FromThisRelay},
        {"127.0.0.1", 50000, TRelayVerdict::FromThisRelay},
        {"10.0.2.1", 40000, TRelayVerdict::Forward},  // corvane beside the relay
        {"127.0.0.1", 40000, TRelayVerdict::Forward},
        {"10.0.2.9", 50000, TRelayVerdict::Forward},  // another host, same port number
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.source + std::string(":") + std::to_string(row.port));
        EXPECT_EQ(policy.Judge(kMagic, Address(row.source), row.port, 0), row.verdict);
    }
}

TEST(RepeatWindow, MemoryStaysBoundedWhateverArrives) {
    TRepeatWindow window(2000, 8);
    for (int i = 0; i < 1000; ++i) {
        const std::string data = std::to_string(i);
        EXPECT_FALSE(window.IsRepeat(data, 0));
        window.Remember(data, 0);
        EXPECT_LE(window.Size(), 8u);
    }
    EXPECT_TRUE(window.IsRepeat("999", 1));
    EXPECT_FALSE(window.IsRepeat("0", 1)) << "the oldest is forgotten first";
    EXPECT_FALSE(window.IsRepeat("999", 2000));
    EXPECT_EQ(window.Size(), 0u) << "expired entries leave";
    EXPECT_EQ(TRepeatWindow(2000, 1u << 30).Capacity(), TRepeatWindow::kMaxCapacity);
}

// The ring with its hash index against a plain list that does the same by searching.
TEST(RepeatWindow, AgreesWithAPlainListUnderRandomTraffic) {
    std::mt19937 random(7);
    for (const size_t capacity : {1u, 3u, 8u, 64u}) {
        SCOPED_TRACE(capacity);
        TRepeatWindow window(50, capacity);
        std::deque<std::pair<std::string, int64_t>> model;
        int64_t now = 0;
        for (int step = 0; step < 20000; ++step) {
            now += static_cast<int64_t>(random() % 4);
            while (!model.empty() && now - model.front().second >= 50) {
                model.pop_front();
            }
            const std::string data = std::to_string(random() % 40);
            bool inModel = false;
            for (const auto& entry : model) {
                inModel = inModel || entry.first == data;
            }
            ASSERT_EQ(window.IsRepeat(data, now), inModel) << "step " << step;
            if (!inModel) {
                window.Remember(data, now);
                if (model.size() == capacity) {
                    model.pop_front();
                }
                model.emplace_back(data, now);
            }
            ASSERT_EQ(window.Size(), model.size());
        }
    }
}

}  // namespace
