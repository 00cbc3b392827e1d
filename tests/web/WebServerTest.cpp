// corvane-web in-process: a real CivetWeb server on 127.0.0.1, asked over plain sockets, with the
// recording socket stack (nothing is sent) and the fake prober (nothing is checked).
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <thread>

#include "cli/Web.h"
#include "support/FakeProber.h"
#include "support/RecordingStack.h"
#include "web/HostMonitor.h"
#include "web/Secrets.h"
#include "web/WebApi.h"
#include "web/WebServer.h"

namespace {

using nlohmann::json;

const char kHosts[] =
    "nas   00-11-22-33-44-55 10.0.0.5/24  check=tcp:445\n"
    "lab1  00-1b-21-aa-bb-01 10.1.0.11/16 group=lab\n"
    "lab2  00-1b-21-aa-bb-02 10.1.0.12/16 group=lab\n"
    "lost  00-1b-21-aa-bb-03 10.2.0.1     group=solo\n";
const char kPassword[] = "right horse";

// The fake prober, shared between the monitor's thread and the test.
struct TProbeControl {
    std::mutex mutex;
    TFakeProber fake;

    // Answers every connect in flight to the address; how many there were.
    int AnswerConnectsTo(uint32_t address) {
        const std::lock_guard<std::mutex> lock(mutex);
        int answered = 0;
        for (const TFakeProber::TCall& call : fake.calls) {
            if (call.what == 'c' && call.address == address && fake.InFlight(call.token)) {
                fake.Answer(call.token);
                ++answered;
            }
        }
        return answered;
    }
};

class TLockedProber : public TIdProber {
public:
    explicit TLockedProber(std::shared_ptr<TProbeControl> control) : control_(control) {}
    bool IcmpAvailable(std::string& reason) override {
        const std::lock_guard<std::mutex> lock(control_->mutex);
        return control_->fake.IcmpAvailable(reason);
    }
    void SendEcho(uint64_t token, uint32_t address) override {
        const std::lock_guard<std::mutex> lock(control_->mutex);
        control_->fake.SendEcho(token, address);
    }
    bool StartConnect(uint64_t token, uint32_t address, uint16_t port) override {
        const std::lock_guard<std::mutex> lock(control_->mutex);
        return control_->fake.StartConnect(token, address, port);
    }
    void Cancel(uint64_t token) override {
        const std::lock_guard<std::mutex> lock(control_->mutex);
        control_->fake.Cancel(token);
    }
    void Wait(int32_t timeoutMs, std::vector<TIdProbeResult>& results) override {
        const std::lock_guard<std::mutex> lock(control_->mutex);
        control_->fake.Wait(timeoutMs, results);
    }

private:
    std::shared_ptr<TProbeControl> control_;
};

struct TReply {
    int status = 0;
    std::string head;
    std::string body;
    json Json() const { return json::parse(body); }
};

bool WaitFor(const std::function<bool()>& done, int ms = 3000) {
    for (int waited = 0; waited < ms; waited += 10) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return done();
}

class WebServer : public testing::Test {
protected:
    void SetUp() override {
        InitSecrets();
        folder_ = testing::TempDir() + "corvane-web-" + std::to_string(getpid()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name() + "/";
        std::system(("mkdir -p '" + folder_ + "'").c_str());
        WriteHosts(kHosts);
        token_ = RandomHex(32);
        config_.passwordHash = HashPassword(kPassword, TPasswordCost::Minimal);
        config_.tokens = {{"script", SecretHash(token_)}};
        WriteWebConfigFile(folder_ + "web.conf", config_);

        TMonitorSettings monitorSettings;
        monitorSettings.hostsPath = folder_ + "hosts";
        monitorSettings.roundEveryMs = 200;
        monitorSettings.roundTimeoutMs = 100;
        monitorSettings.fileCheckMs = 50;
        monitorSettings.resendMs = 3000;
        auto control = probes_;
        monitor_ = std::make_unique<THostMonitor>(
            monitorSettings, [control] { return std::make_unique<TLockedProber>(control); },
            stderr);
        TWebSettings webSettings;
        webSettings.configPath = folder_ + "web.conf";
        webSettings.configCheckMs = 0;
        api_ = std::make_unique<TWebApi>(webSettings, config_, *monitor_, stderr);
        monitor_->Start();
        server_ = std::make_unique<TWebServer>(*api_, *monitor_, "127.0.0.1", 0);
        origin_ = "http://127.0.0.1:" + std::to_string(server_->Port());
    }

    void TearDown() override {
        server_.reset();
        monitor_.reset();
        std::system(("rm -rf '" + folder_ + "'").c_str());
    }

    // Replaces the hosts file the way editors do: a new file renamed over the old one.
    void WriteHosts(const std::string& text) {
        std::ofstream(folder_ + "hosts.new", std::ios::binary) << text;
        std::rename((folder_ + "hosts.new").c_str(), (folder_ + "hosts").c_str());
    }

    // Connects, sends the bytes and reads until `until` appears or the server closes.
    std::string Exchange(const std::string& bytes, const std::string& until = "") {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(server_->Port()));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        timeval timeout{3, 0};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        std::string received;
        char buffer[4096];
        ssize_t got = 0;
        while ((until.empty() || received.find(until) == std::string::npos) &&
               (got = recv(fd, buffer, sizeof buffer, 0)) > 0) {
            received.append(buffer, static_cast<size_t>(got));
        }
        close(fd);
        return received;
    }

    TReply Ask(const std::string& method, const std::string& path,
               const std::vector<std::string>& headers = {}, const std::string& body = "") {
        std::string request = method + " " + path +
                              " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server_->Port()) +
                              "\r\n";
        for (const std::string& header : headers) {
            request += header + "\r\n";
        }
        if (method == "POST") {
            request += "Content-Length: " + std::to_string(body.size()) + "\r\n";
        }
        const std::string received = Exchange(request + "\r\n" + body);
        TReply reply;
        const size_t end = received.find("\r\n\r\n");
        reply.head = received.substr(0, end);
        reply.body = end == std::string::npos ? "" : received.substr(end + 4);
        std::sscanf(received.c_str(), "HTTP/1.1 %d", &reply.status);
        return reply;
    }

    std::string Bearer() const { return "Authorization: Bearer " + token_; }
    std::string Origin() const { return "Origin: " + origin_; }

    // Logs in and returns the "Cookie: ..." header line.
    std::string LogIn() {
        const TReply reply =
            Ask("POST", "/api/login", {Origin()}, R"({"password": "right horse"})");
        EXPECT_EQ(reply.status, 200);
        const size_t at = reply.head.find("corvane_session=");
        return "Cookie: " + reply.head.substr(at, reply.head.find(';', at) - at);
    }

    json HostNamed(const std::string& name) {
        const json answer = Ask("GET", "/api/hosts", {Bearer()}).Json();
        for (const json& host : answer["hosts"]) {
            if (host["name"] == name) {
                return host;
            }
        }
        return nullptr;
    }

    std::string folder_;
    std::string token_;
    std::string origin_;
    TWebConfig config_;
    ScopedRecordingStack recording_;
    std::shared_ptr<TProbeControl> probes_ = std::make_shared<TProbeControl>();
    std::unique_ptr<THostMonitor> monitor_;
    std::unique_ptr<TWebApi> api_;
    std::unique_ptr<TWebServer> server_;
};

TEST_F(WebServer, LogsInAndOutWithASessionCookie) {
    TReply wrong = Ask("POST", "/api/login", {Origin()}, R"({"password": "wrong"})");
    EXPECT_EQ(wrong.status, 401);
    EXPECT_EQ(wrong.body, R"({"error":"Wrong password"})");
    EXPECT_EQ(wrong.head.find("Set-Cookie"), std::string::npos);

    const TReply right = Ask("POST", "/api/login", {Origin()}, R"({"password": "right horse"})");
    EXPECT_EQ(right.body, R"({"ok":true})");
    EXPECT_NE(right.head.find("; HttpOnly; SameSite=Strict; Path=/\r\n"), std::string::npos);
    const std::string cookie = LogIn();
    EXPECT_EQ(cookie.size(), std::string("Cookie: corvane_session=").size() + 64);
    EXPECT_EQ(Ask("GET", "/api/hosts", {cookie}).status, 200);

    const TReply out = Ask("POST", "/api/logout", {cookie, Origin()});
    EXPECT_EQ(out.status, 200);
    EXPECT_NE(out.head.find("corvane_session=; HttpOnly"), std::string::npos);
    EXPECT_NE(out.head.find("Max-Age=0"), std::string::npos);
    EXPECT_EQ(Ask("GET", "/api/hosts", {cookie}).status, 401);
}

TEST_F(WebServer, LimitsFailedLoginsPerAddress) {
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Ask("POST", "/api/login", {Origin()}, R"({"password": "x"})").status, 401);
    }
    const TReply limited = Ask("POST", "/api/login", {Origin()}, R"({"password": "right horse"})");
    EXPECT_EQ(limited.status, 429);
    EXPECT_TRUE(limited.body == R"({"error":"Too many attempts: try again in 60 s"})" ||
                limited.body == R"({"error":"Too many attempts: try again in 59 s"})")
        << limited.body;
}

TEST_F(WebServer, TokensWorkWithoutOriginUntilRevoked) {
    EXPECT_EQ(Ask("GET", "/api/hosts", {Bearer()}).status, 200);
    EXPECT_EQ(Ask("POST", "/api/hosts/nas/wake", {Bearer()}).status, 202);
    EXPECT_EQ(Ask("GET", "/api/hosts", {"Authorization: Bearer " + RandomHex(32)}).status, 401);
    config_.tokens.clear();
    WriteWebConfigFile(folder_ + "web.conf", config_);
    EXPECT_EQ(Ask("GET", "/api/hosts", {Bearer()}).status, 401);
}

TEST_F(WebServer, CookiePostsNeedThePagesOwnOrigin) {
    const std::string cookie = LogIn();
    const struct {
        std::string origin;
        int status;
    } rows[] = {
        {Origin(), 202},
        {"Origin: http://evil.example", 403},
        {"Origin: http://127.0.0.1:1", 403},
        {"Origin: null", 403},
        {"", 403},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.origin);
        const size_t sentBefore = recording_.Sent().size();
        std::vector<std::string> headers = {cookie};
        if (!row.origin.empty()) {
            headers.push_back(row.origin);
        }
        const TReply reply = Ask("POST", "/api/hosts/nas/wake", headers);
        EXPECT_EQ(reply.status, row.status);
        if (row.status == 403) {
            EXPECT_EQ(reply.body, R"({"error":"Cross-origin request refused"})");
            EXPECT_EQ(recording_.Sent().size(), sentBefore);  // refused: nothing sent
        }
    }
    EXPECT_EQ(
        Ask("POST", "/api/login", {"Origin: http://evil.example"}, R"({"password":"x"})").status,
        403);
}

TEST_F(WebServer, MalformedRequestsGetTheirStatusAndChangeNothing) {
    const std::string big(70 * 1024, 'a');
    const struct {
        std::string method, path, body;
        bool token;
        int status;
    } rows[] = {
        {"GET", "/api/hosts", "", false, 401},
        {"GET", "/api/events", "", false, 401},
        {"POST", "/api/hosts/nas/wake", "", false, 401},
        {"GET", "/api/nothing", "", true, 404},
        {"GET", "/api/login", "", true, 405},
        {"POST", "/api/hosts", "", true, 405},
        {"DELETE", "/", "", true, 405},
        {"GET", "/index.html", "", true, 404},
        {"GET", "/../etc/passwd", "", true, 404},
        {"GET", "/%2e%2e/%2e%2e/etc/passwd", "", true, 404},
        {"GET", "/style.css/../../etc/passwd", "", true, 404},
        {"POST", "/api/hosts/ghost/wake", "", true, 404},
        {"POST", "/api/hosts/nas/wake/again", "", true, 404},
        {"POST", "/api/hosts/..%2fnas/wake", "", true, 404},
        {"POST", "/api/hosts/nas%0d%0aSet-Cookie:%20x=1/wake", "", true, 404},
        {"POST", "/api/groups/nobody/wake", "", true, 404},
        {"POST", "/api/groups/solo/wake", "", true, 400},  // a host without destination
        {"POST", "/api/hosts/nas/wake", big, true, 413},
        {"POST", "/api/login", big, false, 413},
        {"POST", "/api/login", "{\"password\": ", false, 400},
        {"POST", "/api/login", "{\"password\": \"\xff\xfe\"}", false, 400},
        {"POST", "/api/login", "{\"password\": \"\xc0\xaf\"}", false, 400},
        {"POST", "/api/login", "[\"right horse\"]", false, 400},
        {"POST", "/api/login", "{\"password\": 5}", false, 400},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.method + " " + row.path);
        std::vector<std::string> headers = {Origin()};
        if (row.token) {
            headers.push_back(Bearer());
        }
        const TReply reply = Ask(row.method, row.path, headers, row.body);
        EXPECT_EQ(reply.status, row.status);
        EXPECT_TRUE(reply.Json()["error"].is_string()) << reply.body;
        EXPECT_EQ(reply.head.find("Set-Cookie"), std::string::npos);
        EXPECT_NE(reply.head.find("X-Content-Type-Options: nosniff"), std::string::npos);
        EXPECT_NE(reply.head.find("Content-Security-Policy: default-src 'self'"),
                  std::string::npos);
    }
    EXPECT_TRUE(recording_.Sent().empty());
}

TEST_F(WebServer, ServesOnlyTheEmbeddedPage) {
    const TReply page = Ask("GET", "/");
    EXPECT_EQ(page.status, 200);
    EXPECT_NE(page.head.find("Content-Type: text/html"), std::string::npos);
    EXPECT_NE(page.body.find("<meta name=\"viewport\""), std::string::npos);
    EXPECT_NE(page.head.find("X-Frame-Options: DENY"), std::string::npos);
}

TEST_F(WebServer, AnswersHostsInFileOrderWithEveryKey) {
    const json answer = Ask("GET", "/api/hosts", {Bearer()}).Json();
    EXPECT_TRUE(answer["error"].is_null());
    ASSERT_EQ(answer["hosts"].size(), 4u);
    const json& nas = answer["hosts"][0];
    EXPECT_EQ(nas, json::parse(R"({"name": "nas", "mac": "00-11-22-33-44-55",
        "address": "10.0.0.5", "groups": [], "state": "unknown", "since": null,
        "seconds": null, "packets": 0})"));
    EXPECT_EQ(answer["hosts"][1]["groups"], json::parse(R"(["lab"])"));
    EXPECT_EQ(answer["hosts"][3]["name"], "lost");
}

TEST_F(WebServer, AWakeSendsAtOnceAndIsFollowedUntilUp) {
    const TReply reply = Ask("POST", "/api/hosts/nas/wake", {Bearer()});
    ASSERT_EQ(reply.status, 202);
    const json host = reply.Json()["host"];
    EXPECT_EQ(host["state"], "waking");
    EXPECT_EQ(host["packets"], 1);
    ASSERT_EQ(recording_.Sent().size(), 1u);
    EXPECT_EQ(recording_.Sent()[0].address, "10.0.0.255");
    EXPECT_EQ(recording_.Sent()[0].port, 26354);
    EXPECT_EQ(recording_.Sent()[0].data.substr(0, 12),
              std::string(6, '\xff') + std::string("\x00\x11\x22\x33\x44\x55", 6));

    ASSERT_TRUE(WaitFor([&] { return probes_->AnswerConnectsTo(0x0A000005) > 0; }));
    ASSERT_TRUE(WaitFor([&] { return HostNamed("nas")["state"] == "up"; }));
    const json up = HostNamed("nas");
    EXPECT_TRUE(up["seconds"].is_number());
    EXPECT_EQ(up["packets"], 1);

    const TReply group = Ask("POST", "/api/groups/lab/wake", {Bearer()});
    ASSERT_EQ(group.status, 202);
    ASSERT_EQ(group.Json()["hosts"].size(), 2u);
    EXPECT_EQ(recording_.Sent().size(), 3u);
    EXPECT_EQ(recording_.Sent()[1].address, "10.1.255.255");
}

TEST_F(WebServer, EventStreamStartsWithTheHostsAndFollowsChanges) {
    const std::string request = "GET /api/events HTTP/1.1\r\nHost: x\r\n" + Bearer() + "\r\n\r\n";
    std::string events;
    std::thread reader([&] { events = Exchange(request, "\"state\":\"waking\""); });
    WaitFor([&] { return false; }, 300);
    EXPECT_EQ(Ask("POST", "/api/hosts/lab1/wake", {Bearer()}).status, 202);
    reader.join();
    EXPECT_NE(events.find("Content-Type: text/event-stream"), std::string::npos);
    const size_t hosts = events.find("event: hosts\ndata: {");
    const size_t host = events.find("event: host\ndata: {");
    ASSERT_NE(hosts, std::string::npos);
    ASSERT_NE(host, std::string::npos);
    EXPECT_LT(hosts, host);
}

TEST_F(WebServer, RereadsTheHostsFileAndKeepsTheLastGoodList) {
    WriteHosts(std::string(kHosts) + "new 00-11-22-33-44-66 10.0.0.6/24\n");
    ASSERT_TRUE(WaitFor([&] { return !HostNamed("new").is_null(); }));
    WriteHosts("nas 00-11-22-33-44-55\nbad zz-11-22-33-44-55\n");
    ASSERT_TRUE(
        WaitFor([&] { return Ask("GET", "/api/hosts", {Bearer()}).Json()["error"].is_string(); }));
    const json answer = Ask("GET", "/api/hosts", {Bearer()}).Json();
    EXPECT_EQ(answer["error"].get<std::string>().rfind(folder_ + "hosts:2: ", 0), 0u)
        << answer["error"];
    EXPECT_EQ(answer["hosts"].size(), 5u);
}

TEST_F(WebServer, StartRefusalsAndABusyPortHaveTheirExitStatus) {
    TWebOptions options;
    options.configPath = folder_ + "missing.conf";
    options.hostsPath = folder_ + "hosts";
    EXPECT_EQ(RunWebServer(options, stderr), kWebBadUsage);
    options.listenAddress = 0x7F000001;
    options.listenPort = server_->Port();
    EXPECT_EQ(RunWebServer(options, stderr), kWebCannotListen);
}

}  // namespace
