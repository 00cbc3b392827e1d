// The web layer's rules without a socket: the config file, sessions, the login limit, the
// Origin rule, the cookie, corvane-web's options and its refusal to start.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>

#include "cli/Web.h"
#include "cli/WebOptions.h"
#include "web/LoginLimit.h"
#include "web/Secrets.h"
#include "web/SessionStore.h"
#include "web/WebApi.h"
#include "web/WebConfig.h"

namespace {

const std::string kHash(64, 'a');

TEST(WebConfig, ReadsWhatItWritesAndReportsFaultsWithTheirLine) {
    TWebConfig config;
    config.passwordHash = "$argon2id$v=19$m=8,t=1,p=1$c2FsdA$aGFzaA";
    config.tokens = {{"phone", kHash}, {"cron.job-1", std::string(64, '0')}};
    TWebConfig read;
    std::string error;
    ASSERT_TRUE(ParseWebConfig(FormatWebConfig(config), "web.conf", read, error)) << error;
    EXPECT_EQ(read.passwordHash, config.passwordHash);
    ASSERT_EQ(read.tokens.size(), 2u);
    EXPECT_EQ(read.tokens[1].name, "cron.job-1");

    const struct {
        std::string text;
        std::string error;
    } bad[] = {
        {"# c\n\nsecret x\n",
         "web.conf:3: unknown setting (lines are 'password HASH' and 'token NAME HASH')"},
        {"password plain\n", "web.conf:1: password needs one Argon2id hash ($argon2id$...)"},
        {"password $argon2id$a\npassword $argon2id$b\n", "web.conf:2: a second password"},
        {"token a/b " + kHash + "\n",
         "web.conf:1: token needs a NAME (letters, digits, '.', '-', '_') and a HASH"},
        {"token a ABC\n", "web.conf:1: token hash must be 64 lower-case hexadecimal digits"},
        {"token a " + kHash + "\ntoken a " + kHash + "\n", "web.conf:2: token 'a' named twice"},
    };
    for (const auto& row : bad) {
        SCOPED_TRACE(row.text);
        EXPECT_FALSE(ParseWebConfig(row.text, "web.conf", read, error));
        EXPECT_EQ(error, row.error);
    }
}

TEST(WebConfig, MissingFileIsEmptyAndWritesAreMode0600) {
    const std::string path = testing::TempDir() + "web-config-test.conf";
    std::remove(path.c_str());
    TWebConfig config;
    std::string error;
    ASSERT_TRUE(ReadWebConfigFile(path, config, error));
    EXPECT_FALSE(config.HasCredentials());
    config.tokens = {{"t", kHash}};
    WriteWebConfigFile(path, config);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    TWebConfig read;
    ASSERT_TRUE(ReadWebConfigFile(path, read, error));
    EXPECT_TRUE(read.HasCredentials());
    std::remove(path.c_str());
}

TEST(Secrets, HashesVerifyAndTokensAreHashedNotStored) {
    InitSecrets();
    const std::string hash = HashPassword("pass word", TPasswordCost::Minimal);
    EXPECT_EQ(hash.rfind("$argon2id$", 0), 0u);
    EXPECT_TRUE(VerifyPassword(hash, "pass word"));
    EXPECT_FALSE(VerifyPassword(hash, "pass wore"));
    EXPECT_FALSE(VerifyPassword("", ""));
    const std::string token = RandomHex(32);
    EXPECT_EQ(token.size(), 64u);
    EXPECT_NE(token, RandomHex(32));
    EXPECT_EQ(SecretHash(token).size(), 64u);
    EXPECT_NE(SecretHash(token), token);
    EXPECT_TRUE(SameSecret(SecretHash(token), SecretHash(token)));
    EXPECT_FALSE(SameSecret("ab", "abc"));
}

TEST(SessionStore, EndsAfterTheIdleTimeAndOnLogout) {
    InitSecrets();
    TSessionStore sessions(1000);
    const std::string id = sessions.Create(0);
    EXPECT_EQ(id.size(), 64u);
    EXPECT_TRUE(sessions.Use(id, 999));  // each use starts the idle time again
    EXPECT_TRUE(sessions.Alive(id, 1998));
    EXPECT_TRUE(sessions.Use(id, 1998));
    EXPECT_FALSE(sessions.Use(id, 2998));  // idle for the whole time
    EXPECT_FALSE(sessions.Use(id, 0));     // and forgotten
    const std::string other = sessions.Create(0);
    sessions.End(other);
    EXPECT_FALSE(sessions.Use(other, 1));
    EXPECT_FALSE(sessions.Use("", 1));
}

TEST(LoginLimit, FiveFailuresAMinutePerAddress) {
    TLoginLimit limit;
    int64_t wait = 0;
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(limit.Allowed("10.0.0.1", i * 1000, wait));
        limit.Failed("10.0.0.1", i * 1000);
    }
    EXPECT_FALSE(limit.Allowed("10.0.0.1", 5000, wait));
    EXPECT_EQ(wait, 55);
    EXPECT_TRUE(limit.Allowed("10.0.0.2", 5000, wait));   // another address
    EXPECT_TRUE(limit.Allowed("10.0.0.1", 60000, wait));  // the first failure is a minute old
    limit.Succeeded("10.0.0.1");
    EXPECT_TRUE(limit.Allowed("10.0.0.1", 60001, wait));
}

TEST(OriginRule, OnlyThePagesOwnSchemeHostAndPort) {
    const struct {
        const char* origin;  // nullptr: no header
        const char* host;
        bool secure;
        bool allowed;
    } rows[] = {
        {"http://nas.lan:8089", "nas.lan:8089", false, true},
        {"https://nas.lan", "nas.lan", true, true},
        {"http://nas.lan", "nas.lan", true, false},  // behind TLS the page is https
        {"http://evil.example:8089", "nas.lan:8089", false, false},
        {"http://nas.lan:8090", "nas.lan:8089", false, false},
        {"null", "nas.lan:8089", false, false},
        {nullptr, "nas.lan:8089", false, false},
        {"http://", "", false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.origin != nullptr ? row.origin : "(none)");
        TWebRequest request;
        request.headers.emplace_back("host", row.host);
        if (row.origin != nullptr) {
            request.headers.emplace_back("Origin", row.origin);
        }
        EXPECT_EQ(OriginAllowed(request, row.secure), row.allowed);
    }
    EXPECT_EQ(SessionCookie("a=1; corvane_session=abc; b=2"), "abc");
    EXPECT_EQ(SessionCookie("xcorvane_session=abc"), "");
}

TEST(WebOptions, ReadsEveryOptionAndRefusesBadOnes) {
    TWebOptions options;
    std::string error;
    ASSERT_TRUE(ParseWebOptions({"--listen", "127.0.0.1:9000", "--hosts=h", "--config", "c",
                                 "--wake-timeout", "30", "--resend", "0", "--secure-cookies",
                                 "--trusted-proxy-header", "X-Remote-User", "--session-days", "2"},
                                options, error))
        << error;
    EXPECT_EQ(options.listenPort, 9000);
    EXPECT_EQ(options.wakeTimeoutMs, 30000);
    EXPECT_EQ(options.resendMs, 0);
    EXPECT_TRUE(options.secureCookies);
    EXPECT_EQ(options.sessionDays, 2);
    ASSERT_TRUE(ParseWebOptions({"--add-token", "phone"}, options = {}, error));
    EXPECT_EQ(options.command, TWebCommand::AddToken);

    const std::vector<std::vector<std::string>> bad = {
        {"--listen", "0.0.0.0"},
        {"--listen", "0.0.0.0:0"},
        {"--resend", "2"},
        {"--wake-timeout", "0"},
        {"--session-days", "0"},
        {"--trusted-proxy-header", "X-User"},  // not on loopback
        {"--listen", "127.0.0.1:80", "--trusted-proxy-header", "X-User\r\nSet-Cookie"},
        {"--add-token", "a b"},
        {"--set-password", "--list-tokens"},
        {"--bogus"},
        {"extra"},
    };
    for (const auto& arguments : bad) {
        SCOPED_TRACE(arguments.front());
        options = {};
        EXPECT_FALSE(ParseWebOptions(arguments, options, error));
    }
}

TEST(WebStart, RefusesANonLoopbackAddressWithoutCredentials) {
    TWebOptions options;
    TWebConfig config;
    EXPECT_EQ(StartRefusal(options, config),
              "no password or token is configured: set one with corvane-web --set-password "
              "before listening on 0.0.0.0");
    options.listenAddress = 0x7F000001;
    EXPECT_EQ(StartRefusal(options, config), "");
    options.listenAddress = 0;
    config.tokens = {{"t", kHash}};
    EXPECT_EQ(StartRefusal(options, config), "");
}

}  // namespace
