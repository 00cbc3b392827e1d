#include "web/WebApi.h"

#include <strings.h>

#include <nlohmann/json.hpp>

#include "web/PageFiles.h"
#include "web/Secrets.h"

namespace {

using nlohmann::json;

constexpr char kCookieName[] = "corvane_session";
constexpr char kBearer[] = "Bearer ";

TWebResponse JsonResponse(int32_t status, std::string body) {
    TWebResponse response;
    response.status = status;
    response.body = std::move(body);
    return response;
}

TWebResponse Error(int32_t status, const std::string& text) {
    return JsonResponse(status, ErrorJson(text));
}

TWebResponse NotAllowed(const char* allow) {
    TWebResponse response = Error(405, "Method not allowed");
    response.headers.emplace_back("Allow", allow);
    return response;
}

// "/api/hosts/NAME/wake" -> kind "hosts", name "NAME"; false for any other shape.
bool SplitWakePath(const std::string& path, std::string& kind, std::string& name) {
    for (const char* prefix : {"/api/hosts/", "/api/groups/"}) {
        const std::string start = prefix;
        const std::string end = "/wake";
        if (path.size() > start.size() + end.size() && path.rfind(start, 0) == 0 &&
            path.compare(path.size() - end.size(), end.size(), end) == 0) {
            name = path.substr(start.size(), path.size() - start.size() - end.size());
            if (name.find('/') != std::string::npos) {
                return false;
            }
            kind = start.substr(5, start.size() - 6);
            return true;
        }
    }
    return false;
}

// The password of a login body {"password": "..."}; false for anything else. The parser
// refuses bytes that are not UTF-8.
bool ReadPassword(const std::string& body, std::string& password) {
    try {
        const json value = json::parse(body);
        if (!value.is_object() || !value.contains("password") || !value["password"].is_string()) {
            return false;
        }
        password = value["password"].get<std::string>();
        return true;
    } catch (const json::exception&) {
        return false;
    }
}

void AddSecurityHeaders(TWebResponse& response, bool api) {
    response.headers.emplace_back("Content-Security-Policy",
                                  "default-src 'self'; frame-ancestors 'none'; base-uri 'none'; "
                                  "form-action 'self'");
    response.headers.emplace_back("X-Content-Type-Options", "nosniff");
    response.headers.emplace_back("X-Frame-Options", "DENY");
    response.headers.emplace_back("Referrer-Policy", "no-referrer");
    response.headers.emplace_back("Cache-Control", api ? "no-store" : "no-cache");
}

std::string HostListJson(const std::vector<THostView>& hosts) {
    std::string text = "{\"hosts\":[";
    for (size_t i = 0; i < hosts.size(); ++i) {
        text += (i == 0 ? "" : ",") + HostJson(hosts[i]);
    }
    return text + "]}";
}

}  // namespace

std::string OwnOrigin(const std::string& host, bool secure) {
    return (secure ? "https://" : "http://") + host;
}

bool OriginAllowed(const TWebRequest& request, bool secure) {
    const std::string host = request.Header("Host");
    const std::string origin = request.Header("Origin");
    return !host.empty() && !origin.empty() && origin == OwnOrigin(host, secure);
}

std::string SessionCookie(const std::string& cookieHeader) {
    const std::string key = std::string(kCookieName) + "=";
    size_t at = 0;
    while (at < cookieHeader.size()) {
        size_t end = cookieHeader.find(';', at);
        if (end == std::string::npos) {
            end = cookieHeader.size();
        }
        const size_t start = cookieHeader.find_first_not_of(' ', at);
        if (start < end && cookieHeader.compare(start, key.size(), key) == 0) {
            return cookieHeader.substr(start + key.size(), end - start - key.size());
        }
        at = end + 1;
    }
    return {};
}

TWebApi::TWebApi(TWebSettings settings, TWebConfig config, THostMonitor& monitor, std::FILE* log)
    : settings_(std::move(settings)),
      monitor_(monitor),
      log_(log),
      config_(std::move(config)),
      configWatch_(settings_.configPath),
      sessions_(settings_.sessionIdleMs) {
    configWatch_.Changed();
}

TWebResponse TWebApi::Handle(const TWebRequest& request, int64_t nowMs) {
    const std::string& path = request.path;
    const bool api = path.rfind("/api/", 0) == 0;
    TWebResponse response;
    std::string kind;
    std::string name;
    const bool isPost = request.method == "POST";
    const bool isGet = request.method == "GET";
    if (!api) {
        const TPageFile* file = FindPageFile(path);
        if (file == nullptr) {
            response = Error(404, "Not found");
        } else if (!isGet) {
            response = NotAllowed("GET");
        } else if (request.bodyTooLarge) {
            response = Error(413, "Request body too large");
        } else {
            response.contentType = std::string(file->contentType);
            response.body = std::string(file->data);
        }
        AddSecurityHeaders(response, false);
        return response;
    }
    const bool known = path == "/api/login" || path == "/api/logout" || path == "/api/hosts" ||
                       path == "/api/events" || SplitWakePath(path, kind, name);
    const bool wantsPost = path != "/api/hosts" && path != "/api/events";
    if (!known) {
        response = Error(404, "Not found");
    } else if (wantsPost ? !isPost : !isGet) {
        response = NotAllowed(wantsPost ? "POST" : "GET");
    } else if (request.bodyTooLarge) {
        response = Error(413, "Request body too large");
    } else if (path == "/api/login") {
        response = Login(request, nowMs);
    } else {
        const TWebAuth auth = Authenticate(request, nowMs, true);
        const bool browser = auth == TWebAuth::Session || auth == TWebAuth::Proxy;
        if (auth == TWebAuth::None) {
            response = Error(401, "Not logged in");
        } else if (isPost && browser && !OriginAllowed(request, settings_.secureCookies)) {
            response = Error(403, "Cross-origin request refused");
        } else if (path == "/api/logout") {
            response = Logout(request, auth);
        } else if (path == "/api/hosts") {
            response = JsonResponse(200, monitor_.HostsJson());
        } else if (path == "/api/events" && monitor_.StreamCount() >= kMaxEventStreams) {
            response = Error(429, "Too many open pages: close one and reload");
        } else if (path == "/api/events") {
            response.eventStream = true;
            response.contentType = "text/event-stream";
        } else {
            response = Wake(kind, name);
        }
    }
    AddSecurityHeaders(response, true);
    return response;
}

bool TWebApi::StillAuthorized(const TWebRequest& request, int64_t nowMs) {
    return Authenticate(request, nowMs, false) != TWebAuth::None;
}

TWebResponse TWebApi::Login(const TWebRequest& request, int64_t nowMs) {
    if (!OriginAllowed(request, settings_.secureCookies)) {
        return Error(403, "Cross-origin request refused");
    }
    std::string hash;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        RereadConfig(nowMs);
        int64_t waitSeconds = 0;
        if (!loginLimit_.Allowed(request.remoteAddress, nowMs, waitSeconds)) {
            return Error(429,
                         "Too many attempts: try again in " + std::to_string(waitSeconds) + " s");
        }
        hash = config_.passwordHash;
    }
    std::string password;
    if (!ReadPassword(request.body, password)) {
        return Error(400, "Expected {\"password\": \"...\"} in UTF-8");
    }
    {
        // Counted as failed before the (slow) check, so parallel attempts cannot pass the limit.
        const std::lock_guard<std::mutex> lock(mutex_);
        loginLimit_.Failed(request.remoteAddress, nowMs);
    }
    const bool matches = VerifyPassword(hash, password);
    WipeSecret(password);
    const std::lock_guard<std::mutex> lock(mutex_);
    if (!matches) {
        return Error(401, "Wrong password");
    }
    loginLimit_.Succeeded(request.remoteAddress);
    TWebResponse response = JsonResponse(200, "{\"ok\":true}");
    response.headers.emplace_back("Set-Cookie", std::string(kCookieName) + "=" +
                                                    sessions_.Create(nowMs) + CookieAttributes());
    return response;
}

TWebResponse TWebApi::Logout(const TWebRequest& request, TWebAuth auth) {
    if (auth == TWebAuth::Session) {
        const std::lock_guard<std::mutex> lock(mutex_);
        sessions_.End(SessionCookie(request.Header("Cookie")));
    }
    TWebResponse response = JsonResponse(200, "{\"ok\":true}");
    response.headers.emplace_back(
        "Set-Cookie", std::string(kCookieName) + "=" + CookieAttributes() + "; Max-Age=0");
    return response;
}

TWebResponse TWebApi::Wake(const std::string& kind, const std::string& name) {
    const bool host = kind == "hosts";
    const TWakeReply reply = host ? monitor_.WakeHost(name) : monitor_.WakeGroup(name);
    switch (reply.outcome) {
    case TWakeOutcome::Unknown:
        return Error(404, host ? "Unknown host" : "Unknown group");
    case TWakeOutcome::NoDestination:
        return Error(400, reply.error);
    case TWakeOutcome::Accepted:
        break;
    }
    if (reply.hosts.empty()) {
        return Error(500, "The wake was not sent in time");
    }
    if (host) {
        return JsonResponse(202, "{\"host\":" + HostJson(reply.hosts.front()) + "}");
    }
    return JsonResponse(202, HostListJson(reply.hosts));
}

TWebAuth TWebApi::Authenticate(const TWebRequest& request, int64_t nowMs, bool touch) {
    const std::lock_guard<std::mutex> lock(mutex_);
    RereadConfig(nowMs);
    const std::string authorization = request.Header("Authorization");
    if (!authorization.empty()) {
        if (strncasecmp(authorization.c_str(), kBearer, sizeof kBearer - 1) != 0) {
            return TWebAuth::None;
        }
        const std::string hash = SecretHash(authorization.substr(sizeof kBearer - 1));
        bool found = false;
        for (const TWebToken& token : config_.tokens) {
            found = SameSecret(hash, token.hash) || found;  // every token compared, no shortcut
        }
        return found ? TWebAuth::Token : TWebAuth::None;
    }
    if (!settings_.trustedProxyHeader.empty() &&
        !request.Header(settings_.trustedProxyHeader).empty()) {
        return TWebAuth::Proxy;
    }
    const std::string session = SessionCookie(request.Header("Cookie"));
    if (session.empty()) {
        return TWebAuth::None;
    }
    const bool live = touch ? sessions_.Use(session, nowMs) : sessions_.Alive(session, nowMs);
    return live ? TWebAuth::Session : TWebAuth::None;
}

// Under the lock. A revoked token stops working at the next look; a new password ends every
// session; a file that no longer parses leaves the last good configuration in force.
void TWebApi::RereadConfig(int64_t nowMs) {
    if (nowMs < nextConfigCheckMs_) {
        return;
    }
    nextConfigCheckMs_ = nowMs + settings_.configCheckMs;
    if (!configWatch_.Changed()) {
        return;
    }
    TWebConfig config;
    std::string error;
    if (!ReadWebConfigFile(settings_.configPath, config, error)) {
        std::fprintf(log_, "corvane-web: %s (the last good configuration stays)\n", error.c_str());
        return;
    }
    if (config.passwordHash != config_.passwordHash) {
        sessions_ = TSessionStore(settings_.sessionIdleMs);
    }
    config_ = std::move(config);
}

std::string TWebApi::CookieAttributes() const {
    return std::string("; HttpOnly; SameSite=Strict; Path=/") +
           (settings_.secureCookies ? "; Secure" : "");
}
