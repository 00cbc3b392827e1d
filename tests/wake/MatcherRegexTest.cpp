// Compares the hand-written address checks with a regular-expression engine on generated texts:
// random texts over the characters that matter, mutations of valid addresses, and every short
// digit string in each octet position.
#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

#include "wake/WakeRequest.h"

namespace {

const std::regex kMacPattern("([0-9a-fA-F]{2}\\-){5}[0-9a-fA-F]{2}", std::regex::ECMAScript);
const std::regex kIpPattern(
    "^((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9][0-9]|[0-9])\\.){3}"
    "(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9][0-9]|0?[1-9])$",
    std::regex::ECMAScript);

bool RegexMac(const std::string& text) {
    return std::regex_search(text, kMacPattern);
}
bool RegexIp(const std::string& text) {
    return std::regex_match(text, kIpPattern);
}

constexpr char kAlphabetChars[] = "0123456789abcdefABCDEFgxX-.: \n\0\xFF";
const std::string kAlphabet(kAlphabetChars, sizeof kAlphabetChars - 1);

class Generator {
public:
    char AnyChar() { return kAlphabet[Below(kAlphabet.size())]; }
    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }

    std::string Random(size_t maxLength) {
        std::string text(Below(maxLength + 1), ' ');
        for (char& c : text) {
            c = AnyChar();
        }
        return text;
    }

    std::string ValidMac() {
        static const char kHex[] = "0123456789abcdefABCDEF";
        std::string text;
        for (int i = 0; i < 6; ++i) {
            text += kHex[Below(22)];
            text += kHex[Below(22)];
            if (i < 5) {
                text += '-';
            }
        }
        return text;
    }

    std::string ValidIp() {
        std::string text;
        for (int i = 0; i < 3; ++i) {
            text += std::to_string(Below(256)) + '.';
        }
        if (Below(8) == 0) {
            return text + "0" + std::to_string(1 + Below(9));
        }
        return text + std::to_string(1 + Below(255));
    }

    // One to three inserts, deletes or replacements, with surrounding text now and then.
    std::string Mutate(std::string text) {
        const size_t edits = 1 + Below(3);
        for (size_t i = 0; i < edits; ++i) {
            const size_t at = Below(text.size() + 1);
            switch (Below(5)) {
            case 0:
                text.insert(at, 1, AnyChar());
                break;
            case 1:
                if (at < text.size()) {
                    text.erase(at, 1);
                }
                break;
            case 2:
                if (at < text.size()) {
                    text[at] = AnyChar();
                }
                break;
            case 3:
                text = Random(3) + text;
                break;
            default:
                text += Random(3);
                break;
            }
        }
        return text;
    }

private:
    std::mt19937 random_{20240611};
};

template <typename Hand, typename Reference>
void Compare(const std::vector<std::string>& texts, Hand hand, Reference reference) {
    size_t accepted = 0;
    for (const std::string& text : texts) {
        const bool expected = reference(text);
        ASSERT_EQ(hand(text), expected) << "text: \"" << text << "\"";
        accepted += expected ? 1 : 0;
    }
    // The generated set must exercise both outcomes to prove anything.
    EXPECT_GT(accepted, 0u);
    EXPECT_LT(accepted, texts.size());
}

TEST(MatcherRegex, MacCheckAcceptsWhatThePatternFinds) {
    Generator generator;
    std::vector<std::string> texts;
    for (int i = 0; i < 15000; ++i) {
        texts.push_back(generator.Random(24));
        texts.push_back(generator.Mutate(generator.ValidMac()));
    }
    for (int i = 0; i < 2000; ++i) {
        texts.push_back(generator.ValidMac());
    }
    Compare(texts, CheckMacAddress, RegexMac);
}

TEST(MatcherRegex, IpCheckAcceptsWhatThePatternMatches) {
    Generator generator;
    std::vector<std::string> texts;
    for (int i = 0; i < 15000; ++i) {
        texts.push_back(generator.Random(18));
        texts.push_back(generator.Mutate(generator.ValidIp()));
    }
    for (int i = 0; i < 2000; ++i) {
        texts.push_back(generator.ValidIp());
    }
    Compare(texts, CheckIpAddress, RegexIp);
}

TEST(MatcherRegex, IpCheckAgreesOnEveryShortOctet) {
    // Every digit string of one to four characters, in the first and in the last position.
    std::vector<std::string> octets;
    std::string digits;
    for (int length = 1; length <= 4; ++length) {
        int limit = 1;
        for (int i = 0; i < length; ++i) {
            limit *= 10;
        }
        for (int n = 0; n < limit; ++n) {
            std::string octet = std::to_string(n);
            octets.push_back(std::string(length - octet.size(), '0') + octet);
        }
    }
    std::vector<std::string> texts;
    for (const std::string& octet : octets) {
        texts.push_back(octet + ".1.1.1");
        texts.push_back("1.1.1." + octet);
    }
    Compare(texts, CheckIpAddress, RegexIp);
}

}  // namespace
