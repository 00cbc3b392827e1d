// The only file that speaks CivetWeb: it turns a connection into a TWebRequest, writes the
// TWebResponse back, and keeps event streams open. Everything it answers comes from TWebApi.
#include <civetweb.h>

#include <chrono>
#include <cstring>
#include <mutex>
#include <string>

#include "web/WebServer.h"

namespace {

// Worker threads: the open event streams (a page each, kMaxEventStreams at most) plus the
// requests being answered.
constexpr char kThreads[] = "48";
// A stream waits this long for events before it checks its authorisation and the time.
constexpr int32_t kStreamTurnMs = 1000;
constexpr int64_t kKeepAliveMs = 15000;
constexpr int64_t kReauthorizeMs = 2000;

int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// CivetWeb's own messages carry request details; the program logs none of them.
int QuietLog(const mg_connection*, const char*) {
    return 1;
}

bool WriteAll(mg_connection* connection, const std::string& bytes) {
    return bytes.empty() || mg_write(connection, bytes.data(), bytes.size()) > 0;
}

std::string HeadLines(const TWebResponse& response, bool withLength) {
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " +
                       StatusText(response.status) + "\r\nContent-Type: " + response.contentType +
                       "\r\n";
    if (withLength) {
        head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    }
    for (const auto& [name, value] : response.headers) {
        head += name + ": " + value + "\r\n";
    }
    return head + "Connection: close\r\n\r\n";
}

// The body, unless it is larger than the limit: then none of it is read.
void ReadBody(mg_connection* connection, const mg_request_info& info, TWebRequest& request) {
    if (info.content_length > static_cast<long long>(kMaxBodyBytes)) {
        request.bodyTooLarge = true;
        return;
    }
    char buffer[8192];
    while (true) {
        const int got = mg_read(connection, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        if (request.body.size() + static_cast<size_t>(got) > kMaxBodyBytes) {
            request.bodyTooLarge = true;
            request.body.clear();
            break;
        }
        request.body.append(buffer, static_cast<size_t>(got));
    }
}

std::once_flag libraryStarted;

}  // namespace

TWebServer::TWebServer(TWebApi& api, THostMonitor& monitor, const std::string& address,
                       int32_t port)
    : api_(api), monitor_(monitor) {
    std::call_once(libraryStarted, [] { mg_init_library(0); });
    const std::string ports = address + ":" + std::to_string(port);
    const char* options[] = {
        "listening_ports", ports.c_str(),       "num_threads", kThreads, "request_timeout_ms",
        "30000",           "enable_keep_alive", "no",          nullptr};
    mg_callbacks callbacks{};
    callbacks.begin_request = &TWebServer::BeginRequest;
    callbacks.log_message = &QuietLog;
    mg_init_data init{};
    init.callbacks = &callbacks;
    init.user_data = this;
    init.configuration_options = options;
    char errorText[256] = "";
    mg_error_data error{};
    error.text = errorText;
    error.text_buffer_size = sizeof errorText;
    context_ = mg_start2(&init, &error);
    if (context_ == nullptr) {
        throw EWebListenError("cannot listen on " + ports + ": " +
                              (errorText[0] != '\0' ? errorText : "unknown error"));
    }
    mg_server_port listening[4]{};
    if (mg_get_server_ports(context_, 4, listening) > 0) {
        port_ = listening[0].port;
    }
}

TWebServer::~TWebServer() {
    Stop();
}

void TWebServer::Stop() {
    stopping_ = true;
    if (context_ != nullptr) {
        mg_stop(context_);
        context_ = nullptr;
    }
}

int TWebServer::BeginRequest(mg_connection* connection) {
    auto* server = static_cast<TWebServer*>(mg_get_user_data(mg_get_context(connection)));
    return server->Serve(connection);
}

int TWebServer::Serve(mg_connection* connection) {
    const mg_request_info& info = *mg_get_request_info(connection);
    TWebRequest request;
    request.method = info.request_method != nullptr ? info.request_method : "";
    const char* path = info.local_uri_raw != nullptr ? info.local_uri_raw : info.request_uri;
    request.path = path != nullptr ? path : "";
    request.remoteAddress = info.remote_addr;
    for (int i = 0; i < info.num_headers; ++i) {
        request.headers.emplace_back(info.http_headers[i].name, info.http_headers[i].value);
    }
    ReadBody(connection, info, request);
    const TWebResponse response = api_.Handle(request, NowMs());
    if (response.eventStream) {
        WriteAll(connection, HeadLines(response, false));
        Stream(connection, request);
    } else {
        WriteAll(connection, HeadLines(response, true)) && WriteAll(connection, response.body);
    }
    return response.status;
}

void TWebServer::Stream(mg_connection* connection, const TWebRequest& request) {
    const uint64_t stream = monitor_.Subscribe();
    int64_t lastWriteMs = NowMs();
    int64_t nextAuthorizationMs = lastWriteMs + kReauthorizeMs;
    std::vector<std::shared_ptr<const std::string>> frames;
    bool open = true;
    while (open && !stopping_ && monitor_.NextFrames(stream, kStreamTurnMs, frames)) {
        const int64_t nowMs = NowMs();
        if (!frames.empty()) {
            for (const std::shared_ptr<const std::string>& frame : frames) {
                open = open && WriteAll(connection, *frame);
            }
            lastWriteMs = nowMs;
        } else if (nowMs - lastWriteMs >= kKeepAliveMs) {
            if (!WriteAll(connection, ": keep-alive\n\n")) {
                break;
            }
            lastWriteMs = nowMs;
        }
        if (nowMs >= nextAuthorizationMs) {
            if (!api_.StillAuthorized(request, nowMs)) {
                break;  // logged out, expired or revoked: the page finds out at its next request
            }
            nextAuthorizationMs = nowMs + kReauthorizeMs;
        }
    }
    monitor_.Unsubscribe(stream);
}
