// TWebApi with given times and no socket: idle expiry, the trusted proxy's header, and a new
// password ending every session.
#include <gtest/gtest.h>

#include <cstdio>

#include "web/HostMonitor.h"
#include "web/Secrets.h"
#include "web/WebApi.h"

namespace {

constexpr int64_t kIdleMs = 10000;

class WebApi : public testing::Test {
protected:
    void SetUp() override {
        InitSecrets();
        configPath_ = testing::TempDir() + "web-api-test-" + std::to_string(getpid()) + ".conf";
        config_.passwordHash = HashPassword("pw", TPasswordCost::Minimal);
        WriteWebConfigFile(configPath_, config_);
    }
    void TearDown() override { std::remove(configPath_.c_str()); }

    TWebApi MakeApi(const std::string& proxyHeader = "") {
        TWebSettings settings;
        settings.configPath = configPath_;
        settings.sessionIdleMs = kIdleMs;
        settings.configCheckMs = 0;
        settings.trustedProxyHeader = proxyHeader;
        return TWebApi(settings, config_, monitor_, stderr);
    }

    static TWebRequest Request(const std::string& method, const std::string& path,
                               const std::string& body = "") {
        TWebRequest request;
        request.method = method;
        request.path = path;
        request.body = body;
        request.remoteAddress = "192.0.2.1";
        request.headers = {{"Host", "nas:8089"}, {"Origin", "http://nas:8089"}};
        return request;
    }

    // Logs in at `nowMs`; the Cookie header of the session.
    static std::string LogIn(TWebApi& api, int64_t nowMs) {
        const TWebResponse response =
            api.Handle(Request("POST", "/api/login", R"({"password":"pw"})"), nowMs);
        EXPECT_EQ(response.status, 200);
        for (const auto& [name, value] : response.headers) {
            if (name == "Set-Cookie") {
                return value.substr(0, value.find(';'));
            }
        }
        return {};
    }

    static int32_t GetHosts(TWebApi& api, const std::string& cookie, int64_t nowMs) {
        TWebRequest request = Request("GET", "/api/hosts");
        request.headers.emplace_back("Cookie", cookie);
        return api.Handle(request, nowMs).status;
    }

    std::string configPath_;
    TWebConfig config_;
    THostMonitor monitor_{TMonitorSettings{"/nonexistent/hosts"}, nullptr, stderr};
};

TEST_F(WebApi, SessionsEndAfterTheIdleTime) {
    TWebApi api = MakeApi();
    const std::string cookie = LogIn(api, 0);
    EXPECT_EQ(GetHosts(api, cookie, kIdleMs - 1), 200);  // a use starts the time again
    EXPECT_EQ(GetHosts(api, cookie, 2 * kIdleMs - 2), 200);
    EXPECT_EQ(GetHosts(api, cookie, 3 * kIdleMs - 2), 401);  // idle for the whole time
    EXPECT_EQ(GetHosts(api, cookie, 0), 401);
}

TEST_F(WebApi, ANewPasswordEndsEverySession) {
    TWebApi api = MakeApi();
    const std::string cookie = LogIn(api, 0);
    config_.passwordHash = HashPassword("other", TPasswordCost::Minimal);
    WriteWebConfigFile(configPath_, config_);
    EXPECT_EQ(GetHosts(api, cookie, 1), 401);
    EXPECT_EQ(api.Handle(Request("POST", "/api/login", R"({"password":"pw"})"), 2).status, 401);
}

TEST_F(WebApi, TheTrustedProxysHeaderLogsInButPostsStillNeedTheOrigin) {
    TWebApi api = MakeApi("X-Remote-User");
    TWebRequest request = Request("GET", "/api/hosts");
    EXPECT_EQ(api.Handle(request, 0).status, 401);
    request.headers.emplace_back("x-remote-user", "ann");
    EXPECT_EQ(api.Handle(request, 0).status, 200);
    TWebRequest post = Request("POST", "/api/logout");
    post.headers = {{"Host", "nas:8089"}, {"Origin", "http://evil:8089"}, {"X-Remote-User", "a"}};
    EXPECT_EQ(api.Handle(post, 0).status, 403);
    TWebApi without = MakeApi();
    EXPECT_EQ(without.Handle(request, 0).status,
              401);  // no proxy configured: the header is nothing
}

}  // namespace
