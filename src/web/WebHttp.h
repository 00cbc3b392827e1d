#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A request and a response as the web layer's decisions see them: plain values, so that every
// rule is tested without a socket. The server adapter fills a TWebRequest from the connection
// and writes a TWebResponse back.

struct TWebRequest {
    std::string method;  // "GET", "POST", ...
    std::string path;    // the path as sent, percent-decoded, without the query
    std::vector<std::pair<std::string, std::string>> headers;  // as sent, in order
    std::string body;
    bool bodyTooLarge = false;  // more than kMaxBodyBytes were sent (body then holds none)
    std::string remoteAddress;  // dotted text of the peer

    // The first header of that name (names compare ignoring case); empty when none.
    std::string Header(const std::string& name) const;
    bool HasHeader(const std::string& name) const;
};

struct TWebResponse {
    int32_t status = 200;
    std::string contentType = "application/json";
    std::vector<std::pair<std::string, std::string>> headers;  // besides Content-Type
    std::string body;
    bool eventStream = false;  // an authorised GET /api/events: the adapter streams events
};

// Request bodies larger than this are refused with 413.
constexpr size_t kMaxBodyBytes = 64 * 1024;

// "OK", "Not Found", ...: the reason phrase of a status the server answers with.
const char* StatusText(int32_t status);
