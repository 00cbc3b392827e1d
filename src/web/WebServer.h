#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "base/Exception.h"
#include "web/HostMonitor.h"
#include "web/WebApi.h"

struct mg_context;
struct mg_connection;

// The address or port cannot be listened on; the message says why.
class EWebListenError : public Exception {
public:
    using Exception::Exception;
};

// The HTTP server: CivetWeb's threads carry each request to TWebApi and its answer back, and
// keep an event stream open while the monitor has events for it. Nothing is decided here.
class TWebServer {
public:
    // Listens on ADDRESS:PORT (PORT 0: any free port). Raises EWebListenError.
    TWebServer(TWebApi& api, THostMonitor& monitor, const std::string& address, int32_t port);
    ~TWebServer();
    TWebServer(const TWebServer&) = delete;
    TWebServer& operator=(const TWebServer&) = delete;

    // The port listened on.
    int32_t Port() const { return port_; }

    // Ends the open streams and stops the threads.
    void Stop();

private:
    static int BeginRequest(mg_connection* connection);
    int Serve(mg_connection* connection);
    void Stream(mg_connection* connection, const struct TWebRequest& request);

    TWebApi& api_;
    THostMonitor& monitor_;
    mg_context* context_ = nullptr;
    int32_t port_ = 0;
    std::atomic<bool> stopping_{false};
};
