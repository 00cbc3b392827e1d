#include <gtest/gtest.h>

#include "base/DottedText.h"
#include "hosts/HostsFile.h"

namespace {

// One line per host: every field, so one comparison checks them all.
std::string Describe(const THost& host) {
    std::string text = host.name + " " + host.mac;
    if (host.hasAddress) {
        text += " " + DottedAddressText(host.address);
    }
    if (host.prefix >= 0) {
        text += "/" + std::to_string(host.prefix);
    }
    for (const THostDestination& to : host.to) {
        text += " to=" + DottedAddressText(to.address) + ":" + std::to_string(to.port);
    }
    if (host.port != 0) {
        text += " port=" + std::to_string(host.port);
    }
    if (!host.password.empty()) {
        text += " pw=" + host.password;
    }
    text += " check=" + CheckListText(host.checks);
    for (const std::string& group : host.groups) {
        text += " group=" + group;
    }
    return text + " @" + std::to_string(host.line);
}

std::string ParseOne(const std::string& text) {
    std::vector<THost> hosts;
    std::vector<std::string> errors;
    if (!ParseHostsFile(text, "hosts", hosts, errors)) {
        return errors.front();
    }
    return hosts.size() == 1 ? Describe(hosts[0]) : std::to_string(hosts.size()) + " hosts";
}

const std::string kDefault = " check=icmp,tcp:22,tcp:445,tcp:3389";

TEST(HostsFile, ReadsEveryFieldAndOptionInBothOrders) {
    const struct {
        const char* line;
        std::string host;
    } rows[] = {
        {"nas 00-11-22-33-44-55", "nas 00-11-22-33-44-55" + kDefault + " @1"},
        {"nas 00-11-22-33-44-55 192.168.1.10/24 check=tcp:445",
         "nas 00-11-22-33-44-55 192.168.1.10/24 check=tcp:445 @1"},
        {"lab01 00:1B:21:AA:BB:01 10.1.0.11/16 group=lab,floor2 to=10.0.0.5",
         "lab01 00-1b-21-aa-bb-01 10.1.0.11/16 to=10.0.0.5:0" + kDefault +
             " group=lab group=floor2 @1"},
        {"a 00-11-22-33-44-55 10.0.0.1", "a 00-11-22-33-44-55 10.0.0.1" + kDefault + " @1"},
        {"a 00-11-22-33-44-55 10.0.0.1/0", "a 00-11-22-33-44-55 10.0.0.1/0" + kDefault + " @1"},
        {"a 00-11-22-33-44-55 to=10.0.0.5:9,10.0.0.6 port=7 pw=s3cr=t",
         "a 00-11-22-33-44-55 to=10.0.0.5:9 to=10.0.0.6:0 port=7 pw=s3cr=t" + kDefault + " @1"},
        {"a 00-11-22-33-44-55 check=none", "a 00-11-22-33-44-55 check=none @1"},
        {"a 00-11-22-33-44-55 group=x,y,x",
         "a 00-11-22-33-44-55" + kDefault + " group=x group=y @1"},
        {"a 00-11-22-33-44-55 port=65535", "a 00-11-22-33-44-55 port=65535" + kDefault + " @1"},
        {"My_Host.lan-2 aa-bb-cc-dd-ee-ff", "My_Host.lan-2 aa-bb-cc-dd-ee-ff" + kDefault + " @1"},
        {"\tnas  \t 00-11-22-33-44-55\t  ", "nas 00-11-22-33-44-55" + kDefault + " @1"},
        {"nas 00-11-22-33-44-55 # a comment to=bad", "nas 00-11-22-33-44-55" + kDefault + " @1"},
        {"nas 00-11-22-33-44-55#comment", "nas 00-11-22-33-44-55" + kDefault + " @1"},
        // The order of /etc/ethers, with its short groups.
        {"8:0:20:1:a:b nas", "nas 08-00-20-01-0a-0b" + kDefault + " @1"},
        {"08:00:20:01:0A:0B nas 10.0.0.9/8 port=9",
         "nas 08-00-20-01-0a-0b 10.0.0.9/8 port=9" + kDefault + " @1"},
        {"00-11-22-33-44-55 nas", "nas 00-11-22-33-44-55" + kDefault + " @1"},
        {"8:0:20:1:a:b 192.168.1.5",
         "192.168.1.5 08-00-20-01-0a-0b 192.168.1.5" + kDefault + " @1"},
        {"8:0:20:1:a:b 192.168.1.5 192.168.1.5/24 check=icmp",
         "192.168.1.5 08-00-20-01-0a-0b 192.168.1.5/24 check=icmp @1"},
        {"nas 8:0:20:1:a:b", "nas 08-00-20-01-0a-0b" + kDefault + " @1"},
        {"", "0 hosts"},
        {"   # only a comment", "0 hosts"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(ParseOne(row.line), row.host);
    }
}

TEST(HostsFile, ReportsEveryFaultWithItsReason) {
    const struct {
        std::string line;
        std::string error;
    } rows[] = {
        {"nas", "missing MAC address after the name"},
        {"00-11-22-33-44-55", "missing name after the MAC address"},
        {"nas 00-11-22-33-44", "bad MAC address '00-11-22-33-44'"},
        {"nas 00-11-22-33-44-5g", "bad MAC address '00-11-22-33-44-5g'"},
        {"nas 0-1-2-3-4-5", "bad MAC address '0-1-2-3-4-5'"},
        {"nas 00-11:22-33-44-55", "bad MAC address '00-11:22-33-44-55'"},
        {"nas 000:11:22:33:44:55", "bad MAC address '000:11:22:33:44:55'"},
        {"n@s 00-11-22-33-44-55", "bad name 'n@s' (letters, digits, '.', '-', '_')"},
        {"00-11-22-33-44-55 aa-bb-cc-dd-ee-ff", "name 'aa-bb-cc-dd-ee-ff' is a MAC address"},
        {"8:0:20:1:a:b AA:BB:CC:DD:EE:FF",
         "bad name 'AA:BB:CC:DD:EE:FF' (letters, digits, "
         "'.', '-', '_')"},
        {"all 00-11-22-33-44-55", "name 'all' is taken: it selects every host"},
        {"nas 00-11-22-33-44-55 192.168.1.256/24", "bad address '192.168.1.256'"},
        {"nas 00-11-22-33-44-55 10.0.0.1.5", "bad address '10.0.0.1.5'"},
        {"nas 00-11-22-33-44-55 10.0.0.1/8/8", "bad prefix '8/8' (0..32)"},
        {"nas 00-11-22-33-44-55 10.0.0.1/33", "bad prefix '33' (0..32)"},
        {"nas 00-11-22-33-44-55 10.0.0.1/", "bad prefix '' (0..32)"},
        {"8:0:20:1:a:b 10.0.0.1 10.0.0.2/8",
         "address '10.0.0.2' differs from the name "
         "'10.0.0.1'"},
        {"nas 00-11-22-33-44-55 10.0.0.1 10.0.0.2",
         "unexpected field '10.0.0.2' (options are "
         "NAME=VALUE)"},
        {"nas 00-11-22-33-44-55 colour=blue", "unknown option 'colour'"},
        {"nas 00-11-22-33-44-55 port=9 port=9", "repeated option 'port='"},
        {"nas 00-11-22-33-44-55 pw=", "empty value in 'pw='"},
        {"nas 00-11-22-33-44-55 port=0", "bad port '0' (1..65535)"},
        {"nas 00-11-22-33-44-55 port=65536", "bad port '65536' (1..65535)"},
        {"nas 00-11-22-33-44-55 to=10.0.0.1:0", "bad port '0' (1..65535)"},
        {"nas 00-11-22-33-44-55 to=10.0.0.1:", "bad port '' (1..65535)"},
        {"nas 00-11-22-33-44-55 to=10.0.0.1,,10.0.0.2",
         "bad destination '' in to= "
         "(ADDRESS[:PORT])"},
        {"nas 00-11-22-33-44-55 to=relay:9", "bad destination 'relay:9' in to= (ADDRESS[:PORT])"},
        {"nas 00-11-22-33-44-55 check=tcp:0", "bad check 'tcp:0' (icmp, tcp:PORT or none)"},
        {"nas 00-11-22-33-44-55 group=lab,", "bad group '' (letters, digits, '.', '-', '_')"},
        {std::string("nas 00-11-22-33-44-55 pw=a\0b", 28), "byte 0x00 is not text"},
        {"nas 00-11-22-33-44-55 pw=a\x1b", "byte 0x1b is not text"},
        {"nas 00-11-22-33-44-55 # \x7f", "byte 0x7f is not text"},
        {"nas 00-11-22-33-44-55\r# inner CR", "byte 0x0d is not text"},
        {"nas 00-11-22-33-44-55 pw=" + std::string(1024 - 24, 'x'), "line longer than 1024 bytes"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(ParseOne(row.line), "hosts:1: " + row.error);
    }
    // The limit itself still fits.
    EXPECT_EQ(ParseOne("nas 00-11-22-33-44-55 pw=" + std::string(1024 - 25, 'x')).substr(0, 4),
              "nas ");
}

TEST(HostsFile, CountsLinesAcrossCommentsBlanksAndLineEnds) {
    const std::string text =
        "\xEF\xBB\xBF# name MAC address/prefix options\r\n"
        "nas 00-11-22-33-44-55 192.168.1.10/24 check=tcp:445\r\n"
        "\r\n"
        "   \t\n"
        "8:0:20:1:a:b lab01 10.1.0.11/16 group=lab\n"
        "lab02 00:1b:21:aa:bb:02";  // no final line end
    std::vector<THost> hosts;
    std::vector<std::string> errors;
    ASSERT_TRUE(ParseHostsFile(text, "/etc/corvane/hosts", hosts, errors));
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(hosts.size(), 3u);
    EXPECT_EQ(Describe(hosts[0]), "nas 00-11-22-33-44-55 192.168.1.10/24 check=tcp:445 @2");
    EXPECT_EQ(Describe(hosts[1]),
              "lab01 08-00-20-01-0a-0b 10.1.0.11/16" + kDefault + " group=lab @5");
    EXPECT_EQ(Describe(hosts[2]), "lab02 00-1b-21-aa-bb-02" + kDefault + " @6");
}

TEST(HostsFile, ReportsEveryFaultyLineInOrderAndKeepsTheHostsUntouched) {
    const std::string text =
        "nas 00-11-22-33-44-55\n"
        "# fine\n"
        "bad 00-11-22-33-44\n"
        "pc 00-11-22-33-44-66 port=99999\n"
        "NAS 00-11-22-33-44-77\n"
        "nas 00-11-22-33-44-88\n"
        "00-11-22-33-44-99 NAS\n";
    std::vector<THost> hosts(1);
    hosts[0].name = "kept";
    std::vector<std::string> errors;
    EXPECT_FALSE(ParseHostsFile(text, "my/hosts", hosts, errors));
    const std::vector<std::string> expected = {
        "my/hosts:3: bad MAC address '00-11-22-33-44'",
        "my/hosts:4: bad port '99999' (1..65535)",
        "my/hosts:6: duplicate name 'nas' (first on line 1)",
        "my/hosts:7: duplicate name 'NAS' (first on line 5)",
    };
    EXPECT_EQ(errors, expected);
    ASSERT_EQ(hosts.size(), 1u);
    EXPECT_EQ(hosts[0].name, "kept");
}

TEST(HostsFile, NamesAreCaseSensitive) {
    std::vector<THost> hosts;
    std::vector<std::string> errors;
    EXPECT_TRUE(ParseHostsFile("nas 00-11-22-33-44-55\nNAS 00-11-22-33-44-66\nAll 8:0:0:0:0:1\n",
                               "hosts", hosts, errors));
    EXPECT_EQ(hosts.size(), 3u);
}

}  // namespace
