#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "base/DottedText.h"
#include "cli/Wake.h"
#include "support/FakeProber.h"
#include "support/RecordingStack.h"

// The whole of corvane-wake over the recording stack (nothing is sent), a fake prober whose
// machines come up at given times, and a clock that moves only while the program waits.

namespace {

// Machines that answer every check from the time they are up; Wait moves the clock on.
class TTimedProber : public TFakeProber {
public:
    TTimedProber(int64_t& nowMs, const std::map<std::string, int64_t>& upAtMs)
        : nowMs_(nowMs), upAtMs_(upAtMs) {}

    void Wait(int32_t timeoutMs, std::vector<TIdProbeResult>& results) override {
        // Returns as soon as a machine with a check in flight comes up, like a real wait.
        int64_t untilMs = nowMs_ + timeoutMs;
        for (const TCall& call : calls) {
            const auto up = upAtMs_.find(DottedAddressText(call.address));
            if (call.what != 'x' && InFlight(call.token) && up != upAtMs_.end()) {
                untilMs = std::min(untilMs, std::max(up->second, nowMs_));
            }
        }
        nowMs_ = untilMs;
        for (const TCall& call : calls) {
            const auto up = upAtMs_.find(DottedAddressText(call.address));
            if (call.what != 'x' && InFlight(call.token) && up != upAtMs_.end() &&
                up->second <= nowMs_ && answered_.insert(call.token).second) {
                Answer(call.token);
            }
        }
        TFakeProber::Wait(timeoutMs, results);
    }

private:
    int64_t& nowMs_;
    std::map<std::string, int64_t> upAtMs_;
    std::set<uint64_t> answered_;
};

// What the program owns in place of its prober: the test keeps the prober itself, to look at
// its calls after the run.
class TProberLink : public TIdProber {
public:
    explicit TProberLink(TIdProber& prober) : prober_(prober) {}
    bool IcmpAvailable(std::string& reason) override { return prober_.IcmpAvailable(reason); }
    void SendEcho(uint64_t token, uint32_t address) override { prober_.SendEcho(token, address); }
    bool StartConnect(uint64_t token, uint32_t address, uint16_t port) override {
        return prober_.StartConnect(token, address, port);
    }
    void Cancel(uint64_t token) override { prober_.Cancel(token); }
    void Wait(int32_t timeoutMs, std::vector<TIdProbeResult>& results) override {
        prober_.Wait(timeoutMs, results);
    }

private:
    TIdProber& prober_;
};

std::string ReadAll(std::FILE* file) {
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
        text += static_cast<char>(c);
    }
    return text;
}

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

const char kHosts[] =
    "# name MAC address options\n"
    "nas    00-11-22-33-44-55  192.168.1.10/24  check=tcp:445\n"
    "lab01  00:1b:21:aa:bb:01  10.1.0.11/16     group=lab to=10.0.0.5,10.0.0.6:9\n"
    "lab02  00:1b:21:aa:bb:02  10.1.0.12/16     group=lab check=icmp\n"
    "quiet  00-11-22-33-44-66  192.168.1.20/24  check=none\n";

class WakeRun : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = ::testing::TempDir() + "corvane-wake-hosts-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        WriteHosts(kHosts);
        context_.nowMs = [this] { return nowMs_; };
        context_.sleepMs = [this](int32_t ms) { nowMs_ += ms; };
        context_.createProber = [this]() -> std::unique_ptr<TIdProber> {
            prober_ = std::make_unique<TTimedProber>(nowMs_, upAtMs_);
            prober_->icmp = icmp_;
            return std::make_unique<TProberLink>(*prober_);
        };
        context_.stopRequested = [this] { return stopAtMs_ >= 0 && nowMs_ >= stopAtMs_; };
        context_.listInterfaces = [] {
            return std::vector<TIdInterfaceAddress>{{"lo", "127.0.0.1", "255.0.0.0"},
                                                    {"eth0", "192.168.1.2", "255.255.255.0"}};
        };
        context_.findNeighbourMac = [this](uint32_t address, std::string& mac) {
            const auto found = neighbours_.find(DottedAddressText(address));
            if (found == neighbours_.end() || nowMs_ < found->second.first) {
                return false;
            }
            mac = found->second.second;
            return true;
        };
    }

    void TearDown() override { std::remove(path_.c_str()); }

    void WriteHosts(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }

    // Runs with --hosts added; the status, and what went to each stream in out_ and err_.
    int Run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--hosts", path_});
        TWakeOptions options;
        std::string error;
        EXPECT_TRUE(ParseWakeOptions(arguments, options, error)) << error;
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        const int status = RunWake(options, context_, out, err);
        out_ = ReadAll(out);
        err_ = ReadAll(err);
        std::fclose(out);
        std::fclose(err);
        return status;
    }

    std::vector<std::string> SentTo() const {
        std::vector<std::string> sent;
        for (const RecordedDatagram& datagram : stack_.Sent()) {
            sent.push_back(datagram.address + ":" + std::to_string(datagram.port));
        }
        return sent;
    }

    ScopedRecordingStack stack_;
    TWakeContext context_;
    std::string path_;
    int64_t nowMs_ = 1000000;
    std::map<std::string, int64_t> upAtMs_;
    std::map<std::string, std::pair<int64_t, std::string>> neighbours_;
    bool icmp_ = true;
    int64_t stopAtMs_ = -1;
    std::unique_ptr<TTimedProber> prober_;
    std::string out_;
    std::string err_;
};

TEST_F(WakeRun, SendsOnePacketPerTargetToEachDestination) {
    EXPECT_EQ(Run({"nas", "@lab", "nas", "00:11:22:33:44:77", "--to", "10.0.0.9", "--port", "7"}),
              0);
    EXPECT_EQ(out_,
              "nas: sent to 192.168.1.255:7\n"
              "lab01: sent to 10.0.0.5:7, 10.0.0.6:9\n"
              "lab02: sent to 10.1.255.255:7\n"
              "00:11:22:33:44:77: sent to 10.0.0.9:7\n");
    EXPECT_EQ(err_, "");
    EXPECT_EQ(SentTo(), (std::vector<std::string>{"192.168.1.255:7", "10.0.0.5:7", "10.0.0.6:9",
                                                  "10.1.255.255:7", "10.0.0.9:7"}));
    ASSERT_EQ(stack_.Sent()[0].data.size(), 102u);
    EXPECT_EQ(stack_.Sent()[0].data.substr(6, 6), std::string("\x00\x11\x22\x33\x44\x55", 6));
    EXPECT_EQ(prober_, nullptr) << "no checks without --wait";
}

TEST_F(WakeRun, AFailedSendIsReportedAndTheOthersStillGo) {
    stack_.FailSendsTo("10.0.0.5", 10051);
    stack_.FailSendsTo("192.168.1.255", 10065);
    EXPECT_EQ(Run({"nas", "lab01", "--json"}), 1);
    EXPECT_EQ(SentTo(), std::vector<std::string>{"10.0.0.6:9"});
    std::string lines;
    EXPECT_NE(out_.find("{\"name\":\"nas\",\"mac\":\"00-11-22-33-44-55\",\"sent_to\":[],"
                        "\"packets\":1,\"state\":\"send failed\",\"seconds\":null,\"answered\":"
                        "null,\"error\":\"send to 192.168.1.255:26354 failed: "),
              std::string::npos)
        << out_;
    EXPECT_NE(out_.find("\"sent_to\":[\"10.0.0.6:9\"],\"packets\":1,\"state\":\"sent\""),
              std::string::npos)
        << out_;
    EXPECT_EQ(Run({"lab01"}), 1);
    EXPECT_EQ(
        out_.substr(0, out_.find('\n')),
        "lab01: send to 10.0.0.5:26354 failed: Socket Error # 10051: Network is unreachable.");
    EXPECT_EQ(out_.substr(out_.find('\n') + 1), "lab01: sent to 10.0.0.6:9\n");
}

TEST_F(WakeRun, WaitReportsEachTargetWhenItSettles) {
    upAtMs_["192.168.1.10"] = nowMs_ + 12400;
    EXPECT_EQ(Run({"--wait", "--timeout", "30", "nas", "lab02", "quiet"}), 4);
    EXPECT_EQ(out_,
              "nas: sent to 192.168.1.255:26354\n"
              "lab02: sent to 10.1.255.255:26354\n"
              "quiet: sent to 192.168.1.255:26354\n"
              "nas: up after 12.4 s (tcp:445, 2 packets)\n"
              "lab02: no answer after 30 s (3 packets)\n");
    EXPECT_EQ(err_, "waited 30.0 s: 1 up, 1 no answer, 1 sent (not checked)\n");
    EXPECT_EQ(stack_.Sent().size(), 2u + 3u + 1u) << "quiet (check=none) is sent once";
    for (const TFakeProber::TCall& call : prober_->calls) {
        EXPECT_NE(DottedAddressText(call.address), "192.168.1.20") << "quiet is never checked";
    }
    for (int32_t wait : prober_->waits) {
        EXPECT_LE(wait, 250);
    }
}

TEST_F(WakeRun, AnAnswerIsReportedWithinASecond) {
    upAtMs_["192.168.1.10"] = nowMs_ + 3040;
    EXPECT_EQ(Run({"--wait", "nas", "--json"}), 0);
    EXPECT_NE(out_.find("\"state\":\"up\",\"seconds\":3.0,\"answered\":\"tcp:445\""),
              std::string::npos)
        << out_;
    EXPECT_EQ(err_, "waited 3.0 s: 1 up, 0 no answer\n");
}

TEST_F(WakeRun, TheProgressLineIsDrawnOnATerminalAndClearedBeforeEachLine) {
    context_.progress = true;
    upAtMs_["192.168.1.10"] = nowMs_ + 600;
    EXPECT_EQ(Run({"--wait", "--timeout", "1", "nas", "lab02"}), 4);
    EXPECT_EQ(err_,
              "\r0 up, 2 waiting, 0.3 s\r0 up, 2 waiting, 0.5 s"
              "\r                      \r"  // cleared for nas's line
              "\r1 up, 1 waiting, 0.6 s\r1 up, 1 waiting, 0.9 s\r                      \r"
              "waited 1.0 s: 1 up, 1 no answer\n");
    EXPECT_EQ(out_.find('\r'), std::string::npos);
}

TEST_F(WakeRun, ATargetWhoseEveryDestinationFailedIsNotWaitedFor) {
    stack_.FailSendsWith(10065);
    EXPECT_EQ(Run({"--wait", "--timeout", "30", "nas"}), 1);
    EXPECT_EQ(out_.find("nas: send to 192.168.1.255:26354 failed: "), 0u) << out_;
    EXPECT_EQ(out_.find('\n'), out_.size() - 1) << "no other line";
    EXPECT_EQ(err_, "waited 0.0 s: 0 up, 0 no answer, 1 send failed\n");
}

TEST_F(WakeRun, StatusChecksAndSendsNothing) {
    upAtMs_["192.168.1.10"] = 0;
    EXPECT_EQ(Run({"--status", "nas", "lab02"}), 4);
    EXPECT_TRUE(stack_.Sent().empty());
    EXPECT_EQ(out_, "nas: up (tcp:445)\nlab02: down\n");
    EXPECT_EQ(err_, "checked 3.0 s: 1 up, 1 down\n");
    EXPECT_EQ(Run({"--status", "--json", "nas"}), 0);
    EXPECT_EQ(out_,
              "{\"name\":\"nas\",\"mac\":\"00-11-22-33-44-55\",\"sent_to\":[],\"packets\":0,"
              "\"state\":\"up\",\"seconds\":0.0,\"answered\":\"tcp:445\",\"error\":null}\n");
}

TEST_F(WakeRun, ChecksThatCannotRunStopBeforeAnythingIsSent) {
    icmp_ = false;
    EXPECT_EQ(Run({"--wait", "nas", "lab02"}), 3);
    EXPECT_TRUE(stack_.Sent().empty());
    EXPECT_EQ(out_, "");
    EXPECT_EQ(err_, "corvane-wake: lab02: no ICMP\n");
    EXPECT_EQ(Run({"--status", "lab02"}), 3);

    // A target with TCP checks goes on, with one warning.
    upAtMs_["10.1.0.11"] = 0;
    EXPECT_EQ(Run({"--wait", "lab01", "nas", "--timeout", "2"}), 4);
    EXPECT_EQ(err_,
              "corvane-wake: warning: no ICMP; the TCP checks go on\n"
              "waited 2.0 s: 1 up, 1 no answer\n");
    EXPECT_NE(out_.find("lab01: up after 0.0 s (tcp:22, 1 packet)"), std::string::npos) << out_;
    for (const TFakeProber::TCall& call : prober_->calls) {
        EXPECT_NE(call.what, 'e');
    }
}

TEST_F(WakeRun, BadHostsFilesAndTargetsSendNothing) {
    const struct {
        std::string hosts;
        std::vector<std::string> arguments;
        std::string error;
    } rows[] = {
        {"nas 00-11-22-33-44-55\nbad 00-11-22-33-44 10.0.0.1\n", {"nas"}, ":2: "},
        {kHosts, {"nobody"}, "unknown host 'nobody'"},
        {kHosts, {"@nogroup"}, "unknown group 'nogroup'"},
        {"nas 00-11-22-33-44-55\n",
         {"nas"},
         "corvane-wake: nas: no destination: give ADDRESS/PREFIX or to=\n"},
        {"nas 00-11-22-33-44-55 to=10.0.0.5\n",
         {"--status", "nas"},
         "corvane-wake: nas: cannot be checked: give ADDRESS and a check other than none\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.error);
        WriteHosts(row.hosts);
        EXPECT_EQ(Run(row.arguments), 2);
        EXPECT_NE(err_.find(row.error), std::string::npos) << err_;
        EXPECT_EQ(err_.find("corvane-wake: "), 0u);
        EXPECT_EQ(out_, "");
    }
    EXPECT_TRUE(stack_.Sent().empty());
    EXPECT_EQ(prober_, nullptr);

    std::remove(path_.c_str());
    EXPECT_EQ(Run({"nas"}), 2) << "a file named with --hosts must be there";
    EXPECT_EQ(err_, "corvane-wake: cannot read the hosts file " + path_ + "\n");
}

TEST_F(WakeRun, ListPrintsTheHostsAsResolved) {
    EXPECT_EQ(Run({"--list"}), 0);
    EXPECT_EQ(out_,
              "nas 00-11-22-33-44-55 to=192.168.1.255:26354 address=192.168.1.10/24 "
              "check=tcp:445 group=none\n"
              "lab01 00-1b-21-aa-bb-01 to=10.0.0.5:26354,10.0.0.6:9 address=10.1.0.11/16 "
              "check=icmp,tcp:22,tcp:445,tcp:3389 group=lab\n"
              "lab02 00-1b-21-aa-bb-02 to=10.1.255.255:26354 address=10.1.0.12/16 check=icmp "
              "group=lab\n"
              "quiet 00-11-22-33-44-66 to=192.168.1.255:26354 address=192.168.1.20/24 "
              "check=none group=none\n");
    EXPECT_EQ(Run({"--list", "lab02"}), 0);
    EXPECT_EQ(out_.find("lab02 "), 0u);
    EXPECT_TRUE(stack_.Sent().empty());
}

TEST_F(WakeRun, CtrlCStopsTheWait) {
    stopAtMs_ = nowMs_ + 5000;
    EXPECT_EQ(Run({"--wait", "nas"}), kWakeInterrupted);
    EXPECT_EQ(out_, "nas: sent to 192.168.1.255:26354\n");
    EXPECT_EQ(err_, "corvane-wake: stopped\nwaited 5.0 s: 0 up, 0 no answer\n");
}

TEST_F(WakeRun, LearnAppendsTheMachineFromTheNeighbourTable) {
    neighbours_["192.168.1.30"] = {nowMs_ + 400, "00-1b-21-aa-bb-30"};
    EXPECT_EQ(Run({"--learn", "new", "192.168.1.30"}), 0);
    EXPECT_EQ(out_, "new 00-1b-21-aa-bb-30 192.168.1.30/24\n");
    EXPECT_EQ(FileText(path_), std::string(kHosts) + "new 00-1b-21-aa-bb-30 192.168.1.30/24\n");
    EXPECT_EQ(Run({"--learn", "other", "192.168.1.30/16"}), 0);
    EXPECT_EQ(out_, "other 00-1b-21-aa-bb-30 192.168.1.30/16\n");
}

TEST_F(WakeRun, LearnLeavesTheFileAsItWasWhenItFails) {
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string error;
    } rows[] = {
        {{"--learn", "new", "10.9.9.9"},
         3,
         "corvane-wake: 10.9.9.9 is not on a directly connected network: no MAC address can be "
         "learned there\n"},
        {{"--learn", "new", "192.168.1.40", "--timeout", "2"},
         4,
         "corvane-wake: 192.168.1.40 did not answer within 2 s\n"},
        {{"--learn", "nas", "192.168.1.30"},
         2,
         "corvane-wake: " + path_ + ":2: the name nas is taken\n"},
    };
    neighbours_["192.168.1.30"] = {0, "00-1b-21-aa-bb-30"};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.error);
        EXPECT_EQ(Run(row.arguments), row.status);
        EXPECT_EQ(err_, row.error);
        EXPECT_EQ(FileText(path_), kHosts);
    }
    const std::string broken = "nas 00-11-22-33-44-55\r\n# kept\nbad zz\n";
    WriteHosts(broken);
    EXPECT_EQ(Run({"--learn", "new", "192.168.1.30"}), 2);
    EXPECT_NE(err_.find(":3: "), std::string::npos) << err_;
    EXPECT_EQ(FileText(path_), broken);
}

}  // namespace
