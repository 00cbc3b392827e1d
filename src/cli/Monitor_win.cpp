#include "base/WinApi.h"
#include "cli/Monitor.h"
// clang-format off
#include <ws2tcpip.h>
// clang-format on

#include <algorithm>
#include <chrono>
#include <string>

#include "cli/MagicPacketDecoder.h"

// The monitor's loop on Windows Sockets, linked with ws2_32 (it is a separate tool; the
// program itself loads the socket library at run time).

namespace {

// Larger than any IPv4 UDP payload (65507 bytes).
constexpr int kReceiveBuffer = 65536;

int Fail(std::FILE* err, const std::string& what) {
    std::fprintf(err, "corvane-monitor: %s: Windows Sockets error %d\n", what.c_str(),
                 WSAGetLastError());
    return kMonitorSocketError;
}

// Starts Windows Sockets and owns the socket for the run.
class TWinsockSession {
public:
    TWinsockSession() {
        WSADATA data;
        started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
        if (started_) {
            socket_ = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        }
    }
    ~TWinsockSession() {
        if (socket_ != INVALID_SOCKET) {
            closesocket(socket_);
        }
        if (started_) {
            WSACleanup();
        }
    }
    TWinsockSession(const TWinsockSession&) = delete;
    TWinsockSession& operator=(const TWinsockSession&) = delete;

    SOCKET Socket() const { return socket_; }

private:
    bool started_ = false;
    SOCKET socket_ = INVALID_SOCKET;
};

}  // namespace

int RunMonitor(const TMonitorOptions& options, std::FILE* out, std::FILE* err) {
    TWinsockSession session;
    if (session.Socket() == INVALID_SOCKET) {
        return Fail(err, "cannot create a UDP socket");
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(static_cast<u_short>(options.port));
    if (bind(session.Socket(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        return Fail(err, "cannot listen on 0.0.0.0:" + std::to_string(options.port));
    }
    std::fprintf(err, "corvane-monitor: listening on 0.0.0.0:%d\n", options.port);
    std::fflush(err);

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(options.timeoutMillis);
    std::string buffer(kReceiveBuffer, '\0');
    int64_t received = 0;
    while (options.count == 0 || received < options.count) {
        timeval wait{};
        timeval* waitFor = nullptr;
        if (options.timeoutMillis > 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                return kMonitorTimedOut;
            }
            const int64_t millis = std::min<int64_t>(left.count() + 1, 1 << 30);
            wait.tv_sec = static_cast<long>(millis / 1000);
            wait.tv_usec = static_cast<long>(millis % 1000 * 1000);
            waitFor = &wait;
        }
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(session.Socket(), &ready);
        const int selected = select(0, &ready, nullptr, nullptr, waitFor);
        if (selected == SOCKET_ERROR) {
            return Fail(err, "waiting for datagrams failed");
        }
        if (selected == 0) {
            continue;  // the deadline check above ends the loop
        }
        sockaddr_in sender{};
        int senderSize = sizeof sender;
        const int length = recvfrom(session.Socket(), buffer.data(), kReceiveBuffer, 0,
                                    reinterpret_cast<sockaddr*>(&sender), &senderSize);
        if (length == SOCKET_ERROR) {
            // A datagram larger than the buffer cannot arrive over IPv4; an ICMP-reported
            // error of an earlier send does not concern a listener.
            if (WSAGetLastError() == WSAECONNRESET) {
                continue;
            }
            return Fail(err, "receiving failed");
        }
        char address[INET_ADDRSTRLEN] = "?";
        inet_ntop(AF_INET, &sender.sin_addr, address, sizeof address);
        const std::string line =
            FormatDatagramLine(address, ntohs(sender.sin_port),
                               std::string_view(buffer.data(), static_cast<size_t>(length)));
        std::fwrite(line.data(), 1, line.size(), out);
        std::fputc('\n', out);
        std::fflush(out);
        ++received;
    }
    return kMonitorCountReached;
}
