#include <gtest/gtest.h>

#include "cli/WakeOutput.h"

namespace {

TWakeReport Report(TWakeOutcome outcome, int32_t packets, int64_t millis,
                   const std::string& answered = "") {
    TWakeReport report;
    report.name = "nas";
    report.mac = "00-11-22-33-44-55";
    report.outcome = outcome;
    report.packets = packets;
    report.millis = millis;
    report.answered = answered;
    return report;
}

TEST(WakeOutput, WritesTheLinesOfEachOutcome) {
    EXPECT_EQ(SentLine("nas", {"192.168.1.255:26354"}), "nas: sent to 192.168.1.255:26354");
    EXPECT_EQ(SentLine("lab01", {"10.0.0.5:26354", "10.1.255.255:9"}),
              "lab01: sent to 10.0.0.5:26354, 10.1.255.255:9");
    EXPECT_EQ(SendFailedLine("nas", "10.0.0.5:26354", "Network is unreachable"),
              "nas: send to 10.0.0.5:26354 failed: Network is unreachable");
    const struct {
        TWakeReport report;
        int64_t timeoutMs;
        std::string line;
    } rows[] = {
        {Report(TWakeOutcome::Up, 2, 12449, "tcp:445"), 120000,
         "nas: up after 12.4 s (tcp:445, 2 packets)"},
        {Report(TWakeOutcome::Up, 1, 950, "icmp"), 120000, "nas: up after 1.0 s (icmp, 1 packet)"},
        {Report(TWakeOutcome::NoAnswer, 12, 120003), 120000,
         "nas: no answer after 120 s (12 packets)"},
        {Report(TWakeOutcome::NoAnswer, 1, 1500), 1500, "nas: no answer after 1.5 s (1 packet)"},
        {Report(TWakeOutcome::Up, 0, 20, "icmp"), 3000, "nas: up (icmp)"},
        {Report(TWakeOutcome::Down, 0, 3000), 3000, "nas: down"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(SettledLine(row.report, row.timeoutMs), row.line);
    }
}

TEST(WakeOutput, JsonHasEveryKeyAlways) {
    TWakeReport sent = Report(TWakeOutcome::Sent, 1, -1);
    sent.sentTo = {"192.168.1.255:26354", "10.0.0.5:9"};
    EXPECT_EQ(
        JsonLine(sent),
        "{\"name\":\"nas\",\"mac\":\"00-11-22-33-44-55\",\"sent_to\":[\"192.168.1.255:26354\","
        "\"10.0.0.5:9\"],\"packets\":1,\"state\":\"sent\",\"seconds\":null,\"answered\":null,"
        "\"error\":null}");
    EXPECT_EQ(JsonLine(Report(TWakeOutcome::Down, 0, 3000)),
              "{\"name\":\"nas\",\"mac\":\"00-11-22-33-44-55\",\"sent_to\":[],\"packets\":0,"
              "\"state\":\"down\",\"seconds\":3.0,\"answered\":null,\"error\":null}");
    TWakeReport up = Report(TWakeOutcome::Up, 2, 12449, "tcp:445");
    EXPECT_NE(JsonLine(up).find("\"state\":\"up\",\"seconds\":12.4,\"answered\":\"tcp:445\""),
              std::string::npos);
    TWakeReport failed = Report(TWakeOutcome::SendFailed, 1, -1);
    failed.error = "send to 10.0.0.5:26354 failed: Network is unreachable";
    EXPECT_NE(JsonLine(failed).find("\"state\":\"send failed\",\"seconds\":null,\"answered\":null,"
                                    "\"error\":\"send to 10.0.0.5:26354 failed: Network is "
                                    "unreachable\"}"),
              std::string::npos);
    EXPECT_NE(JsonLine(Report(TWakeOutcome::NoAnswer, 3, 30000)).find("\"state\":\"no answer\""),
              std::string::npos);
}

TEST(WakeOutput, JsonStringsAreEscaped) {
    const struct {
        std::string text;
        std::string json;
    } rows[] = {
        {"plain-name_1.x", "\"plain-name_1.x\""},
        {"say \"hi\"\\", "\"say \\\"hi\\\"\\\\\""},
        {"a\nb\rc\td", "\"a\\nb\\rc\\td\""},
        {std::string("nul\0x\x1f\x7f", 7), "\"nul\\u0000x\\u001f\\u007f\""},
        {"K\xc3\xb6ln \xe2\x82\xac \xf0\x9f\x98\x80",
         "\"K\xc3\xb6ln \xe2\x82\xac \xf0\x9f\x98\x80\""},
        {"bad \xff \xc3", "\"bad \\ufffd \\ufffd\""},
        {"overlong \xc0\xaf \xe0\x80\xaf", "\"overlong \\ufffd\\ufffd \\ufffd\\ufffd\\ufffd\""},
        {"surrogate \xed\xa0\x80", "\"surrogate \\ufffd\\ufffd\\ufffd\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.json);
        EXPECT_EQ(JsonString(row.text), row.json);
    }
}

TEST(WakeOutput, SummaryCountsTheOutcomes) {
    std::vector<TWakeReport> reports(39, Report(TWakeOutcome::Up, 1, 1000));
    reports.push_back(Report(TWakeOutcome::NoAnswer, 12, 120000));
    EXPECT_EQ(SummaryLine(false, 45249, reports), "waited 45.2 s: 39 up, 1 no answer");
    reports.push_back(Report(TWakeOutcome::SendFailed, 1, -1));
    reports.push_back(Report(TWakeOutcome::Sent, 1, -1));
    EXPECT_EQ(SummaryLine(false, 45249, reports),
              "waited 45.2 s: 39 up, 1 no answer, 1 send failed, 1 sent (not checked)");
    EXPECT_EQ(SummaryLine(true, 3000,
                          {Report(TWakeOutcome::Up, 0, 5), Report(TWakeOutcome::Down, 0, 3000)}),
              "checked 3.0 s: 1 up, 1 down");
    EXPECT_EQ(ProgressLine(12, 28, 12345), "12 up, 28 waiting, 12.3 s");
}

TEST(WakeOutput, ExitStatusRules) {
    const TWakeReport sent = Report(TWakeOutcome::Sent, 1, -1);
    const TWakeReport up = Report(TWakeOutcome::Up, 1, 10);
    const TWakeReport noAnswer = Report(TWakeOutcome::NoAnswer, 3, 30000);
    const TWakeReport down = Report(TWakeOutcome::Down, 0, 3000);
    const TWakeReport failed = Report(TWakeOutcome::SendFailed, 1, -1);
    TWakeReport partly = up;
    partly.error = "send to 10.0.0.5:26354 failed: x";
    const struct {
        std::vector<TWakeReport> reports;
        int status;
    } rows[] = {
        {{}, 0},         {{sent, sent}, 0},   {{up, sent}, 0},         {{up, noAnswer}, 4},
        {{down, up}, 4}, {{sent, failed}, 1}, {{noAnswer, failed}, 1}, {{partly, down}, 1},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(WakeExitStatus(rows[i].reports), rows[i].status);
    }
}

}  // namespace
