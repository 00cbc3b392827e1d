#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

#include "web/FileWatch.h"
#include "web/HostMonitor.h"
#include "web/LoginLimit.h"
#include "web/SessionStore.h"
#include "web/WebConfig.h"
#include "web/WebHttp.h"

// Every decision of corvane-web's HTTP side, from a request to a response: the routes, log-in
// and sessions, tokens, the Origin rule, the login rate limit, the size limit, the security
// headers and the JSON answers. Safe to call from many threads at once.

struct TWebSettings {
    std::string configPath;
    bool secureCookies = false;      // the page is reached over TLS (a reverse proxy)
    std::string trustedProxyHeader;  // a header whose presence vouches for the user; "": none
    int64_t sessionIdleMs = 7LL * 24 * 3600 * 1000;
    int64_t configCheckMs = 1000;  // how often the config file's stamp is looked at
};

// Event streams open at most: each holds one of the server's threads (WebServerCivet.cpp has
// more), so that requests are still answered with every stream open.
constexpr size_t kMaxEventStreams = 32;

// How a request proved who sent it.
enum class TWebAuth {
    None,
    Session,  // the session cookie: its POSTs must carry the page's own Origin
    Token,    // Authorization: Bearer TOKEN: no Origin needed
    Proxy,    // the trusted proxy's header: treated like a cookie
};

// The page's own origin: "http://" (or "https://" behind TLS) and the Host header.
std::string OwnOrigin(const std::string& host, bool secure);

// The Origin rule: a request authenticated by the browser (cookie, proxy, or a login) may
// change something only when its Origin is exactly the page's own; "null" or none is refused.
bool OriginAllowed(const TWebRequest& request, bool secure);

// The session cookie's value in a Cookie header; empty when none.
std::string SessionCookie(const std::string& cookieHeader);

class TWebApi {
public:
    TWebApi(TWebSettings settings, TWebConfig config, THostMonitor& monitor, std::FILE* log);

    TWebResponse Handle(const TWebRequest& request, int64_t nowMs);

    // For an open event stream: whether its request is still authorised (a revoked token, an
    // ended session or a changed password ends it). Does not count as the session's use.
    bool StillAuthorized(const TWebRequest& request, int64_t nowMs);

private:
    TWebResponse Login(const TWebRequest& request, int64_t nowMs);
    TWebResponse Logout(const TWebRequest& request, TWebAuth auth);
    TWebResponse Wake(const std::string& kind, const std::string& name);
    TWebAuth Authenticate(const TWebRequest& request, int64_t nowMs, bool touch);
    void RereadConfig(int64_t nowMs);
    std::string CookieAttributes() const;

    TWebSettings settings_;
    THostMonitor& monitor_;
    std::FILE* log_;
    std::mutex mutex_;  // guards what follows
    TWebConfig config_;
    TFileWatch configWatch_;
    int64_t nextConfigCheckMs_ = 0;
    TSessionStore sessions_;
    TLoginLimit loginLimit_;
};
