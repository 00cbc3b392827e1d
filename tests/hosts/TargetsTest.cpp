#include <gtest/gtest.h>

#include "base/DottedText.h"
#include "hosts/Targets.h"

namespace {

const char kFile[] =
    "nas    00-11-22-33-44-55 192.168.1.10/24 check=tcp:445\n"
    "lab01  00:1b:21:aa:bb:01 10.1.0.11/16    group=lab,floor2 to=10.0.0.5\n"
    "lab02  00:1b:21:aa:bb:02 10.1.0.12/16    group=lab port=9 pw=abc\n"
    "pc     00-11-22-33-44-66 10.2.0.7/20     group=floor2 to=10.0.0.5:7,10.0.0.6 port=8\n"
    "bare   00-11-22-33-44-77\n"
    "single 00-11-22-33-44-88 10.3.0.1\n"
    "host32 00-11-22-33-44-99 10.3.0.2/32\n"
    "host31 00-11-22-33-44-aa 10.3.0.3/31\n"
    "wide   00-11-22-33-44-bb 10.3.0.4/0\n"
    "x1     00-11-22-33-44-c1 10.5.1.1/24 group=x\n"
    "x2     00-11-22-33-44-c2 10.5.2.1/24 group=x\n"
    "x3     00-11-22-33-44-c3 10.5.2.9/24 group=x\n"
    "x4     00-11-22-33-44-c4 10.5.2.9/23 group=x\n";

std::vector<THost> Hosts() {
    std::vector<THost> hosts;
    std::vector<std::string> errors;
    EXPECT_TRUE(ParseHostsFile(kFile, "hosts", hosts, errors)) << errors.front();
    return hosts;
}

uint32_t Address(const std::string& text) {
    uint32_t value = 0;
    EXPECT_TRUE(ParseDottedQuad(text, value)) << text;
    return value;
}

std::string Destinations(const TWakeTarget& target) {
    std::string text;
    for (const TWakeDestination& destination : target.destinations) {
        text += (text.empty() ? "" : " ") + DottedAddressText(destination.address) + ":" +
                std::to_string(destination.port);
    }
    return text;
}

// "name=destinations" for each selected target, or the error.
std::string Select(const std::vector<std::string>& words, const TTargetOptions& options = {}) {
    std::vector<TWakeTarget> targets;
    std::string error;
    if (!SelectTargets(Hosts(), "/etc/corvane/hosts", words, options, targets, error)) {
        return error;
    }
    std::string text;
    for (const TWakeTarget& target : targets) {
        text += (text.empty() ? "" : "; ") + target.name + "=" + Destinations(target);
    }
    return text;
}

TEST(Targets, SelectsNamesGroupsAllAndMacsInTheOrderGivenOnce) {
    const struct {
        std::vector<std::string> words;
        std::string selected;
    } rows[] = {
        {{"nas"}, "nas=192.168.1.255:26354"},
        {{"lab02", "nas"}, "lab02=10.1.255.255:9; nas=192.168.1.255:26354"},
        {{"@lab"}, "lab01=10.0.0.5:26354; lab02=10.1.255.255:9"},
        {{"@floor2"}, "lab01=10.0.0.5:26354; pc=10.0.0.5:7 10.0.0.6:8"},
        {{"lab02", "@lab", "nas", "lab02"},
         "lab02=10.1.255.255:9; lab01=10.0.0.5:26354; "
         "nas=192.168.1.255:26354"},
        {{"@lab", "@floor2"},
         "lab01=10.0.0.5:26354; lab02=10.1.255.255:9; "
         "pc=10.0.0.5:7 10.0.0.6:8"},
        {{"pc", "all"},
         "pc=10.0.0.5:7 10.0.0.6:8; nas=192.168.1.255:26354; lab01=10.0.0.5:26354; "
         "lab02=10.1.255.255:9; bare=; single=; host32=10.3.0.2:26354; "
         "host31=10.3.0.3:26354; wide=255.255.255.255:26354; x1=10.5.1.255:26354; "
         "x2=10.5.2.255:26354; x3=10.5.2.255:26354; x4=10.5.3.255:26354"},
        {{"@x"},
         "x1=10.5.1.255:26354; x2=10.5.2.255:26354; x3=10.5.2.255:26354; "
         "x4=10.5.3.255:26354"},
        {{"bare", "single"}, "bare=; single="},
        {{"00-11-22-33-44-55"}, "00-11-22-33-44-55="},
        {{"AA:BB:CC:DD:EE:FF", "aa-bb-cc-dd-ee-ff", "nas"},
         "AA:BB:CC:DD:EE:FF=; "
         "nas=192.168.1.255:26354"},
        {{"nsa"}, "unknown host 'nsa' (not in /etc/corvane/hosts)"},
        {{"nas", "@lba"}, "unknown group 'lba' (not in /etc/corvane/hosts)"},
        {{"@"}, "unknown group '' (not in /etc/corvane/hosts)"},
        {{"8:0:20:1:a:b"}, "unknown host '8:0:20:1:a:b' (not in /etc/corvane/hosts)"},
        {{"ALL"}, "unknown host 'ALL' (not in /etc/corvane/hosts)"},
        {{}, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.selected);
        EXPECT_EQ(Select(row.words), row.selected);
    }
}

TEST(Targets, PortsFollowTheirPrecedence) {
    // to=A:P, else the host's port=, else --port, else 26354.
    TTargetOptions options;
    options.port = 4000;
    EXPECT_EQ(Select({"nas", "lab01", "lab02", "pc"}, options),
              "nas=192.168.1.255:4000; lab01=10.0.0.5:4000; lab02=10.1.255.255:9; "
              "pc=10.0.0.5:7 10.0.0.6:8");
}

TEST(Targets, MacTargetsTakeTheCommandLinesDestinationsAndChecks) {
    TTargetOptions viaTo;
    viaTo.to = {{Address("10.0.0.5"), 0}, {Address("10.0.0.6"), 9}};
    viaTo.port = 7;
    viaTo.hasAddress = true;
    viaTo.address = Address("10.9.8.7");
    viaTo.prefix = 8;
    viaTo.checksGiven = true;
    viaTo.checks = {{TCheckKind::Tcp, 22}};
    TTargetOptions viaAddress;
    viaAddress.hasAddress = true;
    viaAddress.address = Address("10.9.8.7");
    viaAddress.prefix = 8;
    TTargetOptions noPrefix;
    noPrefix.hasAddress = true;
    noPrefix.address = Address("10.9.8.7");
    const struct {
        const char* name;
        TTargetOptions options;
        std::string destinations;
        std::string checks;
    } rows[] = {
        {"--to wins over --address", viaTo, "10.0.0.5:7 10.0.0.6:9", "tcp:22"},
        {"--address with a prefix", viaAddress, "10.255.255.255:26354",
         "icmp,tcp:22,tcp:445,tcp:3389"},
        {"--address alone", noPrefix, "", "icmp,tcp:22,tcp:445,tcp:3389"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<TWakeTarget> targets;
        std::string error;
        ASSERT_TRUE(SelectTargets(Hosts(), "hosts", {"00:1B:21:AA:BB:FF", "nas"}, row.options,
                                  targets, error));
        ASSERT_EQ(targets.size(), 2u);
        EXPECT_EQ(targets[0].name, "00:1B:21:AA:BB:FF");
        EXPECT_EQ(targets[0].mac, "00-1b-21-aa-bb-ff");
        EXPECT_EQ(Destinations(targets[0]), row.destinations);
        EXPECT_EQ(CheckListText(targets[0].checks), row.checks);
        EXPECT_EQ(targets[0].hasAddress, row.options.hasAddress);
        EXPECT_EQ(targets[0].address, row.options.address);
        // A host of the file keeps its own destination and checks.
        EXPECT_EQ(CheckListText(targets[1].checks), "tcp:445");
        EXPECT_EQ(DottedAddressText(targets[1].destinations.at(0).address), "192.168.1.255");
    }
}

TEST(Targets, CarriesTheHostsFields) {
    std::vector<TWakeTarget> targets;
    std::string error;
    ASSERT_TRUE(SelectTargets(Hosts(), "hosts", {"lab02"}, {}, targets, error));
    ASSERT_EQ(targets.size(), 1u);
    const TWakeTarget& target = targets[0];
    EXPECT_EQ(target.mac, "00-1b-21-aa-bb-02");
    EXPECT_EQ(target.password, "abc");
    EXPECT_TRUE(target.hasAddress);
    EXPECT_EQ(DottedAddressText(target.address), "10.1.0.12");
    EXPECT_EQ(target.prefix, 16);
    EXPECT_EQ(target.checks, DefaultChecks());
    EXPECT_EQ(target.groups, std::vector<std::string>{"lab"});
}

TEST(Targets, RequiresADestinationForEveryTarget) {
    std::vector<TWakeTarget> targets;
    std::string error;
    ASSERT_TRUE(SelectTargets(Hosts(), "hosts", {"nas", "single", "bare"}, {}, targets, error));
    EXPECT_FALSE(RequireDestinations(targets, error));
    EXPECT_EQ(error, "single: no destination: give ADDRESS/PREFIX or to=");
    targets.erase(targets.begin() + 1, targets.end());
    error.clear();
    EXPECT_TRUE(RequireDestinations(targets, error));
    EXPECT_EQ(error, "");
}

}  // namespace
